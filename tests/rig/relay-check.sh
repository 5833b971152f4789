#!/usr/bin/env bash
# Checks what the program hands the system, read from Wine's own trace of its DLL loads and
# calls (Wine is more lenient than the Windows it stands in for, so the calls are read, not
# their outcome).
#   relay-check.sh BIN_DIR SCENARIO [PROGRAM]
# comctl32-first-configuration, comctl32-first-launch-failure, comctl32-first-setup,
# comctl32-first-uninstaller
#     comctl32 is loaded before the first window or message box (the configuration window;
#     a /PLAY that cannot start Winamp, whose box is its first window; the setup's window;
#     the uninstaller's box for a folder without Jukelet; PROGRAM: the setup program or the
#     uninstaller): on Windows XP a
#     program whose manifest asks for the version 6 common controls gets neither controls
#     nor boxes otherwise, while Wine quietly loads it inside the call.
# as-win98, as-nt40, as-win2k, as-winxp
#     the program told by Wine that it runs on that Windows: the title font's quality, the
#     banner's style, the kernel object names, the registry options and views that branch
#     hands the system, and where "Add to this Machine" puts the buttons.
# Runs inside a rig session (tools/test.sh), like the test programs.
set -uo pipefail
if [ -z "${JUKELET_WINE_SESSION:-}" ] || [ -z "${WINEPREFIX:-}" ]; then
  echo "run the tests through tools/test.sh (it makes a throwaway Wine prefix and display)" >&2
  exit 2
fi
bin=$1 scenario=$2 given=${3:-}
settings='HKCU\Software\Orvalle Software\Jukelet'
pose_key='HKCU\Software\Wine\AppDefaults\Jukelet.exe'
play_key='HKLM\Software\Microsoft\Internet Explorer\Extensions\{34F16BC0-FF5F-11D4-B08F-909356C10100}'
not_a_program="$WINEPREFIX/drive_c/relay-check-winamp.exe"
trace=$(mktemp)
failures=0
pid=""

quiet() { "$@" >/dev/null 2>&1; }
stop_program() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  pid=""
}
cleanup() {
  stop_program
  quiet wine reg delete 'HKCU\Software\Wine\Debug' /v RelayInclude /f
  quiet wine reg delete "$settings" /v WinampExe /f
  quiet wine reg delete "$pose_key" /f
  for view in 32 64; do
    for id in $(sed -n 's/^JUKELET_BUTTON("\({[^"]*}\)".*/\1/p' "$(dirname "$0")/../../src/toolbar/ButtonList.h"); do
      quiet wine reg delete "HKLM\\Software\\Microsoft\\Internet Explorer\\Extensions\\$id" /reg:$view /f
    done
  done
  rm -f "$trace" "$not_a_program"
}
trap cleanup EXIT
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

remember_winamp() { quiet wine reg add "$settings" /v WinampExe /d "$1" /f; }
# A file that is no program: a click cannot start it and says so in a box.
remember_no_program() {
  echo "not a program" >"$not_a_program"
  remember_winamp 'C:\relay-check-winamp.exe'
}

# Starts the program (a name in BIN_DIR, or a path) with the trace on, the calls given traced
# (and every DLL load).
start_traced() {
  local include=$1 program=$2
  shift 2
  [[ $program == */* ]] || program="$bin/$program"
  quiet wine reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /d "$include" /f
  WINEDEBUG=+loaddll,+relay wine "$program" "$@" 2>>"$trace" >/dev/null </dev/null &
  pid=$!
}
# Waits, at most 30 s, for a trace line matching the pattern; its number.
wait_for_line() {
  local line
  for _ in $(seq 1 300); do
    line=$(grep -n -m1 -i -E "$1" "$trace" | cut -d: -f1)
    if [ -n "$line" ]; then
      echo "$line"
      return 0
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  return 1
}
# The calls to one function (DLL names in any case), one per line, as the trace writes their
# arguments.
calls() { grep -i -E "Call $1\(" "$trace" | sed -E "s/.*Call [A-Za-z0-9_.]+\((.*)\) ret=[0-9a-f]+$/\1/"; }
# One argument (counted from 1) of each call's argument list. A 64-bit trace shows whole
# registers: a 32-bit value is their low 8 hex digits.
argument() { awk -v n="$1" -F, '{ value = $n; print substr(value, length(value) - 7) }'; }

check_comctl32_first() {
  local window call loaded
  start_traced 'user32.MessageBoxA;user32.CreateDialogIndirectParamA;user32.CreateWindowExA' "$@"
  local first='Call user32\.(MessageBoxA|CreateDialogIndirectParamA|CreateWindowExA)\('
  if ! window=$(wait_for_line "$first"); then
    fail "$*: no window or message box within 30 s"
    return
  fi
  loaded=$(grep -n -m1 -E 'Loaded L"[^"]*\\comctl32\.dll"' "$trace" | cut -d: -f1)
  call=$(sed -n "${window}p" "$trace" | grep -o -E 'user32\.[A-Za-z]+')
  if [ -z "$loaded" ] || [ "$loaded" -gt "$window" ]; then
    fail "$*: $call ran before comctl32 was loaded (trace line $window; comctl32 ${loaded:-not at all})"
  else
    echo "$*: comctl32 loaded (trace line $loaded) before the first $call (line $window)"
  fi
}

# The X window of a top-level window with this title, waited for (10 s at most).
x_window() {
  local window
  for _ in $(seq 1 100); do
    window=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
    [ -n "$window" ] && echo "$window" && return 0
    sleep 0.1
  done
  return 1
}
# Presses keys in a window, as its user would.
press() {
  local window
  window=$(x_window "$1") || return 1
  xdotool windowfocus --sync "$window" 2>/dev/null
  xdotool key --clearmodifiers "${@:2}"
}

check_pose() {
  local pose=$1 xp=0 namespaces=0 views=1
  case $pose in
    win98) views=0 ;;
    nt40) ;;
    win2k) namespaces=1 ;;
    winxp) namespaces=1 xp=1 ;;
  esac
  quiet wine reg add "$pose_key" /v Version /d "$pose" /f

  # The configuration window: its title font and single-instance mutex; then "Add to this
  # Machine" (the registry views) and About (the banner).
  remember_winamp 'C:\windows\notepad.exe'
  start_traced 'gdi32.CreateFontA;user32.CreateWindowExA;kernel32.CreateMutexA;kernel32.CreateFileMappingA;advapi32.RegCreateKeyExA;advapi32.RegCreateKeyA;advapi32.RegOpenKeyExA' Jukelet.exe
  wait_for_line 'Call gdi32\.CreateFontA\(' >/dev/null || fail "as $pose: no title font"
  sleep 0.5
  press 'Jukelet Configuration' alt+m
  press Add Return || fail "as $pose: \"Add to this Machine\" said nothing"
  press 'Jukelet Configuration' alt+b
  wait_for_line 'Call user32\.CreateWindowExA\([^,]*,[^,]* "STATIC",[^,]*"",[0-9a-f]*e,' >/dev/null ||
    fail "as $pose: the About window's banner was not made"
  stop_program
  # A click that cannot start Winamp: the start lock's objects.
  remember_no_program
  start_traced 'kernel32.CreateMutexA;kernel32.CreateFileMappingA' Jukelet.exe /PLAY
  wait_for_line 'Call kernel32\.CreateFileMappingA\(' >/dev/null || fail "as $pose: no start lock"
  stop_program

  local font quality style names local_names plain_names
  quality=$(calls gdi32.CreateFontA | argument 12 | head -n 1)
  if ((xp)) && [ "$((16#$quality))" -ne 5 ]; then fail "as $pose: title font quality $quality, not ClearType (5)"; fi
  if ((!xp)) && [ "$((16#$quality))" -ne 0 ]; then fail "as $pose: title font quality $quality, not the default (0)"; fi

  style=$(calls user32.CreateWindowExA | grep '"STATIC"' | argument 4 | grep -E 'e$' | head -n 1)
  if [ -n "$style" ]; then
    local real=$(((16#$style & 0x40) != 0))
    ((real == xp)) || fail "as $pose: the banner's style $style $([ "$real" = 1 ] && echo has || echo lacks) SS_REALSIZECONTROL (0x40)"
  fi

  names=$(calls 'kernel32\.(CreateMutexA|CreateFileMappingA)' | grep -o -E '"[^"]*"$')
  local_names=$(grep -c '^"Local\\\\' <<<"$names")
  plain_names=$(grep -c -v '^"Local\\\\' <<<"$names")
  [ "$(wc -l <<<"$names")" -ge 3 ] || fail "as $pose: fewer than three object names: $names"
  if ((namespaces)) && ((plain_names)); then fail "as $pose: names without Local\\: $names"; fi
  if ((!namespaces)) && ((local_names)); then fail "as $pose: Local\\ names where they are refused: $names"; fi

  # Before Vista, RegOpenKeyEx takes no options: REG_OPTION_OPEN_LINK (8) is never passed.
  if calls advapi32.RegOpenKeyExA | argument 3 | grep -q -E '[89a-f]$'; then
    fail "as $pose: RegOpenKeyExA given REG_OPTION_OPEN_LINK"
  fi
  local wow64
  wow64=$(calls advapi32.RegCreateKeyExA | argument 6 | while read -r sam; do
    echo $(((16#$sam & 0x300)))
  done | sort -u | tr '\n' ' ')
  if ((views)) && [ "$wow64" != "256 512 " ]; then fail "as $pose: registry views asked: ${wow64:-none}, not both"; fi
  if ((!views)) && [ -n "$(tr -d ' 0' <<<"$wow64")" ]; then fail "as $pose: a registry view asked ($wow64)"; fi
  # What the user of a 32-bit browser sees: Play's key in the 32-bit view, or not.
  if wine reg query "$play_key" /reg:32 >/dev/null 2>&1; then
    ((views)) || fail "as $pose: the buttons reached the 32-bit view"
  else
    ((!views)) || fail "as $pose: the buttons did not reach the 32-bit view"
  fi
  wine reg query "$play_key" /reg:64 >/dev/null 2>&1 || fail "as $pose: the buttons did not reach the machine's keys"
  ((failures)) || echo "as $pose: font quality $quality, banner style ${style:-?}, names $(tr '\n' ' ' <<<"$names"), views ${wow64:-none}"
}

case $scenario in
  comctl32-first-configuration)
    # Any file will do: the window only shows the path.
    remember_winamp 'C:\windows\notepad.exe'
    check_comctl32_first Jukelet.exe
    ;;
  comctl32-first-launch-failure)
    remember_no_program
    check_comctl32_first Jukelet.exe /PLAY
    ;;
  comctl32-first-setup)
    check_comctl32_first "$given"
    ;;
  comctl32-first-uninstaller)
    check_comctl32_first "$given" '_?=C:\windows'
    ;;
  as-*) check_pose "${scenario#as-}" ;;
  *)
    echo "unknown scenario $scenario" >&2
    exit 2
    ;;
esac
((failures == 0))
