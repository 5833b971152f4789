#!/usr/bin/env bash
# The release check: builds the 32-bit Jukelet.exe and its setup program as shipped and runs
# them as a user of 64-bit Windows would, the 32-bit code emulated (qemu-user), in a
# throwaway Wine prefix on a private Xvfb display: silent install and its shortcuts, /PLAY
# against the Winamp stand-in, the configuration window (saved as
# docs/screenshots/configuration-x86.png), "Add to this Machine" read back in both registry
# views, silent uninstall and what it left. A 64-bit program (tests/release/ReleaseCheck.cpp)
# does the driving. Prints one line per step and a summary; exits non-zero when one failed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work="$root/build/release-check"
i386="$root/build/wine-i386/root"
# Like a user's choice in the folder page: a space in it, and not the default.
install_folder='C:\Release Check\Jukelet'
started=$(date +%s)
summary=()

say() { echo "release-check: $*"; }

finish_summary() {
  say "summary"
  local line
  for line in "${summary[@]}"; do say "  $line"; done
  say "  total $(($(date +%s) - started)) s"
}

# Runs one preparing step quietly, timed; its output is shown only when it fails.
prepare() {
  local name=$1 t0 log status=ok
  shift
  t0=$(date +%s)
  log="$work/$(echo "$name" | tr -c 'a-z0-9' '-').log"
  "$@" >"$log" 2>&1 || status=FAILED
  summary+=("$(printf '%-40s %-7s %4d s' "$name" "$status" $(($(date +%s) - t0)))")
  say "${summary[-1]}"
  if [ "$status" != ok ]; then
    tail -n 30 "$log" >&2
    finish_summary
    exit 1
  fi
}

# A template prefix made once per Wine version, with its 32-bit half (syswow64): wineboot,
# started through the private loader pair, runs the 32-bit part of the prefix's setup on the
# emulated 32-bit Wine (a couple of minutes). Started through /usr/bin/wine, it would try
# Wine's experimental WoW64 mode, which runs 32-bit code inside the 64-bit process and so
# needs the kernel's 32-bit code segment, which these kernels do not have.
make_template() {
  wine_make_template "$work/wine/template" "$i386/usr/lib/wine/wine64"
  [ -f "$work/wine/template/drive_c/windows/syswow64/kernel32.dll" ] || {
    echo "the template prefix has no 32-bit half (syswow64 is empty)"
    rm -rf "$work/wine/template"
    return 1
  }
}

mkdir -p "$work"
prepare "set up (packages, qemu, wine32 unpacked)" "$root/tools/setup.sh" --release-check
prepare "build the 32-bit release and setup" "$root/tools/build.sh" x86 JukeletSetup
prepare "build the 64-bit driver and stand-in" "$root/tools/build.sh" x64 release_check

source "$root/tests/rig/wine-session.sh"
wine_env
export QEMU_LD_PREFIX="$i386"
prepare "template prefix with its 32-bit half" make_template

shots=$(mktemp -d)
cleanup() {
  wine_session_stop
  rm -rf "$shots"
}
trap cleanup EXIT
export WINEPREFIX
WINEPREFIX=$(mktemp -d "$work/wine/run.XXXXXX")
cp -a "$work/wine/template/." "$WINEPREFIX/"
RIG_XVFB_PID="" RIG_KEEPER_PID=""
wine_start_xvfb
wine cmd /c exit >/dev/null 2>&1 </dev/null
wine "$root/build/x64/bin/desktop_keeper.exe" >"$WINEPREFIX/keeper.log" 2>&1 </dev/null &
RIG_KEEPER_PID=$!

setup=$(ls "$root"/build/x86/bin/JukeletSetup-*.exe)
# Started through the loader beside the private 32-bit one, the driver's 32-bit children run
# on the emulated 32-bit Wine, for the same reason as the template's wineboot.
set +e
timeout 1800 "$i386/usr/lib/wine/wine64" "$root/build/x64/bin/release_check.exe" \
  "$(winepath -w "$setup")" "$(winepath -w "$root/build/x86/bin/Jukelet.exe")" "$install_folder" \
  "$(winepath -w "$shots")\\configuration-x86.bmp" </dev/null 2>"$work/driver.log" |
  while IFS= read -r line; do
    say "$line"
    echo "$line" >>"$shots/steps.txt"
  done
driver_status=${PIPESTATUS[0]}
set -e
[ -f "$shots/steps.txt" ] && mapfile -t -O "${#summary[@]}" summary <"$shots/steps.txt"

if [ -f "$shots/configuration-x86.bmp" ]; then
  mkdir -p "$root/docs/screenshots"
  # No time stamps: an unchanged window gives an unchanged file.
  convert "$shots/configuration-x86.bmp" -strip -define png:exclude-chunks=date,time \
    "$root/docs/screenshots/configuration-x86.png"
  say "screenshot: docs/screenshots/configuration-x86.png"
  # For the reader, not a verdict: the 64-bit picture is only as fresh as tools/screenshots.sh made it.
  differing=$(compare -metric AE "$root/docs/screenshots/configuration.png" \
    "$root/docs/screenshots/configuration-x86.png" null: 2>&1 || true)
  if [[ $differing =~ ^[0-9.e+]+$ ]]; then
    say "note: $differing pixels differ from the 64-bit build's docs/screenshots/configuration.png"
  else
    say "note: not comparable with docs/screenshots/configuration.png: $differing"
  fi
fi

if [ "$driver_status" -ne 0 ]; then
  summary+=("the driver ended with $driver_status (see build/release-check/driver.log)")
  finish_summary
  exit 1
fi
finish_summary
