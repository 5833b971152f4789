#!/usr/bin/env bash
# Shows, from Wine's own trace of a program's DLL loads and calls, that comctl32 is loaded
# before the program's first window or message box: on Windows XP a program whose manifest
# asks for the version 6 common controls gets neither controls nor boxes otherwise, while
# Wine (and later Windows) would quietly load it inside the call.
#   load-order.sh BIN_DIR SCENARIO
# SCENARIO: configuration  Jukelet.exe opens its window
#           launch-failure Jukelet.exe /PLAY cannot start Winamp: a box is its first window
# Runs inside a rig session (tools/test.sh), like the test programs.
set -uo pipefail
if [ -z "${JUKELET_WINE_SESSION:-}" ] || [ -z "${WINEPREFIX:-}" ]; then
  echo "run the tests through tools/test.sh (it makes a throwaway Wine prefix and display)" >&2
  exit 2
fi
bin=$1 scenario=$2
settings='HKCU\Software\Orvalle Software\Jukelet'
trace=$(mktemp)
planted=()
cleanup() {
  [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  wine reg delete 'HKCU\Software\Wine\Debug' /v RelayInclude /f >/dev/null 2>&1
  wine reg delete "$settings" /v WinampExe /f >/dev/null 2>&1
  rm -f "$trace" "${planted[@]}"
}
trap cleanup EXIT

remember_winamp() {
  wine reg add "$settings" /v WinampExe /d "$1" /f >/dev/null 2>&1
}

case $scenario in
  configuration)
    # Any file will do: the window only shows the path.
    remember_winamp 'C:\windows\notepad.exe'
    program=(Jukelet.exe)
    ;;
  launch-failure)
    # A file that is no program: the click cannot start it and says so.
    planted+=("$WINEPREFIX/drive_c/load-order-winamp.exe")
    echo "not a program" >"${planted[0]}"
    remember_winamp 'C:\load-order-winamp.exe'
    program=(Jukelet.exe /PLAY)
    ;;
  *)
    echo "unknown scenario $scenario" >&2
    exit 2
    ;;
esac

# Only the calls that make a first window or box are traced, and every DLL load.
wine reg add 'HKCU\Software\Wine\Debug' /v RelayInclude \
  /d 'user32.MessageBoxA;user32.CreateDialogIndirectParamA;user32.CreateWindowExA' /f >/dev/null 2>&1
WINEDEBUG=+loaddll,+relay wine "$bin/${program[0]}" "${program[@]:1}" 2>"$trace" >/dev/null </dev/null &
pid=$!

first_window() { grep -n -m1 -E 'Call user32\.(MessageBoxA|CreateDialogIndirectParamA|CreateWindowExA)\(' "$trace" | cut -d: -f1; }
for _ in $(seq 1 300); do
  [ -n "$(first_window)" ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
window=$(first_window)
if [ -z "$window" ]; then
  echo "${program[*]}: no window or message box within 30 s"
  exit 1
fi
loaded=$(grep -n -m1 -E 'Loaded L"[^"]*\\comctl32\.dll"' "$trace" | cut -d: -f1)
call=$(sed -n "${window}p" "$trace" | grep -o -E 'user32\.[A-Za-z]+')
if [ -z "$loaded" ] || [ "$loaded" -gt "$window" ]; then
  echo "${program[*]}: $call ran before comctl32 was loaded (trace line $window; comctl32 ${loaded:+at line $loaded}${loaded:-never})"
  exit 1
fi
echo "${program[*]}: comctl32 loaded (trace line $loaded) before the first $call (line $window)"
