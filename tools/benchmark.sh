#!/usr/bin/env bash
# Measures Jukelet under Wine against programs that do the least the same job needs, prints
# the table and writes it to docs/benchmark.md:   tools/benchmark.sh [RUNS]   (default 30)
# Sets up what is missing and builds both architectures first, like tools/test.sh. Runs in
# a throwaway Wine prefix on a private Xvfb display. Exits non-zero only when a click or a
# window did not happen at all; times are reported, never judged.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-30}
[[ "$runs" =~ ^[0-9]+$ ]] && ((runs > 0)) || { echo "usage: $0 [RUNS]" >&2; exit 2; }

"$root/tools/setup.sh"
"$root/tools/build.sh" all

load_at_start=$(cut -d' ' -f1-3 /proc/loadavg)
source "$root/tests/rig/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start "$root/build/x64"
: >"$root/build/benchmark-stderr.log"
# The programs measured are copies, so a rebuild running meanwhile cannot swap them mid-run.
bench="$WINEPREFIX/drive_c/bench"
mkdir -p "$bench/x86"
for program in bench_harness bench_floor bench_empty_window bench_dialog_floor fake_winamp Jukelet; do
  cp "$root/build/x64/bin/$program.exe" "$bench/"
done
cp "$root/build/x86/bin/Jukelet.exe" "$bench/x86/"

failed=0
rows=()
# One measure: the harness prints Markdown rows; Wine's own chatter goes to a log. Its
# output goes to a file, not a pipe: a Wine process it happens to start (the desktop)
# inherits the handle and would hold a pipe open.
measure() {
  local out status=0
  wine "$bench/bench_harness.exe" "$@" </dev/null >"$WINEPREFIX/bench-rows.txt" \
    2>>"$root/build/benchmark-stderr.log" || status=$?
  out=$(tr -d '\r' <"$WINEPREFIX/bench-rows.txt" | grep '^|' || true)
  if ((status != 0)) || [ -z "$out" ]; then
    failed=1
    [ -n "$out" ] || out="| bench_harness $* | FAILED (exit $status) | | |"
  fi
  while IFS= read -r line; do rows+=("$line"); done <<<"$out"
}

echo "benchmark: $runs runs per measure" >&2
measure click "$runs"
measure cold "$runs"
measure cold "$runs" 500
measure cold "$runs" 0 1000
measure window "$runs"
measure memory 10

kb() { awk -v bytes="$1" 'BEGIN { printf "%.1f KB", bytes / 1024 }'; }
imports_section=""
for arch in x86 x64; do
  case $arch in x86) objdump=i686-w64-mingw32-objdump ;; x64) objdump=x86_64-w64-mingw32-objdump ;; esac
  exe="$bench/Jukelet.exe"
  [ $arch = x86 ] && exe="$bench/x86/Jukelet.exe"
  bytes=$(stat -c %s "$exe")
  rsrc=$((16#$($objdump -h "$exe" | awk '$2 == ".rsrc" { print $3 }')))
  target=""
  [ $arch = x86 ] && target="target at most 64 KB"
  rows+=("| d. Jukelet.exe $arch, resources included | $bytes bytes = $(kb "$bytes") (resources $(kb "$rsrc")) | | $target |")
  # The import tables only: each DLL, then one line per function it gives the program.
  imports=$($objdump -p "$exe" | awk '/^The Import Tables/ { on = 1; next } on && /^(The |PE File)/ { on = 0 }
                                      on && (/DLL Name:/ || /^\t[0-9a-f]+\t/)')
  dlls=$(awk '/DLL Name:/ { order[++k] = $3; dll = $3; next } { n[dll]++ }
              END { for (i = 1; i <= k; i++) printf "%s%s (%d)", (i > 1 ? ", " : ""), order[i], n[order[i]] }' <<<"$imports")
  rows+=("| d. Imports of Jukelet.exe $arch (functions) | $dlls | | |")
  imports_section+=$'\n'"$arch:"$'\n\n'"$(awk '/DLL Name:/ { if (line) print line; line = "- " $3 ":"; sep = " "; next }
                                                  { line = line sep $NF; sep = ", " } END { print line }' <<<"$imports")"$'\n'
done

measure load 100

cpu=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
table=$(
  echo "| Measure | Jukelet | Baseline | Result |"
  echo "|---|---|---|---|"
  printf '%s\n' "${rows[@]}"
)
mkdir -p "$root/docs"
cat >"$root/docs/benchmark.md" <<EOF
# Benchmark

Written by \`tools/benchmark.sh\` on $(date -u '+%Y-%m-%d %H:%M UTC').
Machine: ${cpu:-unknown CPU}, $(nproc) cores, load average $load_at_start at the start; $(wine --version 2>/dev/null).
The 64-bit build runs under Wine; the 32-bit one is only sized (it runs only emulated here, see tools/check-release.sh).
$runs runs per time, after 3 warm-up runs; a program and its baseline take turns going first.

$table

- Times are QueryPerformanceCounter readings, one clock for every process: the harness
  (\`bench/Harness.cpp\`) reads it just before CreateProcess, and the Winamp stand-in stamps
  its records with it: "window" when the window is created (a click can find it from then)
  and again when it is shown and the stand-in starts reading messages, "command" on arrival.
  The loading stand-in keeps its window hidden and reads no messages for its loading time,
  as Winamp does while it loads its plug-ins; a command sent before the end of loading
  would wait out its send bound and be withdrawn.
- Ratios are of the medians; the ratio of the minimums (each program's least disturbed run)
  follows in brackets. Work of other processes on the same cores widens the spread.
- The floor (\`bench/Floor.cpp\`) only finds Winamp's window and sends Play once; the empty
  window (\`bench/EmptyWindow.cpp\`) only shows one window; the dialog floor
  (\`bench/DialogFloor.cpp\`) shows the configuration window's seventeen controls (seven
  buttons, the path box, five labels, two frames, the picture and the line) as a dialog
  resource, with Jukelet's manifest (version 6 common controls, DPI awareness), and does
  nothing else. All are built with Jukelet's flags and static runtime.
- Peak working set: the harness plays Winamp's window itself and reads the click's process
  while the click waits for its command to be taken. Under Wine it is the whole process,
  Wine's own libraries included.
- Hung Winamp: the stand-in stops pumping messages once it has shown its window and read
  messages once, as a Winamp that has been running does; clicks are started ten at a
  time and each one's life is timed from its launch to its end. Wine ends a send at
  once when the receiver has not read messages for some seconds, so the later clicks end
  well before the send timeout; the first ones wait it out.

## Import lists
$imports_section
EOF

printf '%s\n' "$table"
echo "benchmark: written to docs/benchmark.md" >&2
((failed == 0)) || echo "benchmark: a measure failed; Wine's and the harness's messages are in build/benchmark-stderr.log" >&2
exit $failed
