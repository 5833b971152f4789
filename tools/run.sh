#!/usr/bin/env bash
# Sets up what is missing, builds, and starts Jukelet under Wine.
#   tools/run.sh             opens the configuration window
#   tools/run.sh --switches  shows the toolbar switches at work against a visible Winamp stand-in
# On a desktop it uses your display and a Wine prefix of its own (build/x64/wine/user),
# never your ~/.wine. Without a display it runs on a private Xvfb and saves screenshots.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:-window}

"$root/tools/setup.sh"
"$root/tools/build.sh" x64 >/dev/null
build="$root/build/x64"
bin="$build/bin"

source "$root/tests/rig/wine-session.sh"
wine_env
wine_make_template "$build/wine/template"
export WINEPREFIX="$build/wine/user"
[ -d "$WINEPREFIX" ] || cp -a "$build/wine/template" "$WINEPREFIX"

headless=""
RIG_XVFB_PID=""
if [ -z "${DISPLAY:-}" ]; then
  headless=1
  wine_start_xvfb
fi
cleanup() {
  [ -n "${RIG_XVFB_PID:-}" ] && { wineserver -k >/dev/null 2>&1 || true; kill "$RIG_XVFB_PID" 2>/dev/null || true; }
  return 0
}
trap cleanup EXIT

# A stand-in plays Winamp here, installed where Winamp would be and associated like it.
winamp_dir="$WINEPREFIX/drive_c/Program Files/Winamp"
mkdir -p "$winamp_dir"
cp "$bin/fake_winamp.exe" "$winamp_dir/winamp.exe"
wine reg add 'HKLM\Software\CLASSES\Winamp.File\DefaultIcon' /ve /d 'C:\Program Files\Winamp\winamp.exe,1' /f >/dev/null 2>&1
export FAKEWINAMP_LOG='C:\Program Files\Winamp\received.log'
log="$winamp_dir/received.log"

screenshot() {
  local slug=$1 file="$build/run-$1.png"
  import -window root "$file" 2>/dev/null && echo "screenshot: $file"
}

wait_for_window() {
  local title=$1 i
  for i in $(seq 1 100); do
    xdotool search --name "^$title\$" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

if [ "$mode" = "--switches" ]; then
  rm -f "$log"
  wine "$winamp_dir/winamp.exe" >/dev/null 2>&1 &
  wait_for_window "Winamp stand-in" || { echo "the stand-in did not start" >&2; exit 1; }
  for switch in /PREV /PLAY /PAUSE /STOP /NEXT /MINMAX /MINMAX /START; do
    before=$(grep -c '^command' "$log" 2>/dev/null || true)
    wine "$bin/Jukelet.exe" "$switch" >/dev/null 2>&1
    sleep 0.3
    received=$(grep '^command' "$log" 2>/dev/null | tail -n +"$((before + 1))" | tr -d '\r' | paste -sd, -)
    printf 'Jukelet %-8s -> Winamp received: %s\n' "$switch" "${received:-(no command: a window change)}"
    [ -n "$headless" ] && [ "$switch" = /PLAY ] && screenshot stand-in
  done
  exit 0
fi

if [ -n "$headless" ]; then
  wine "$bin/Jukelet.exe" >/dev/null 2>&1 &
  jukelet=$!
  if wait_for_window "Jukelet Configuration"; then
    sleep 0.5
    screenshot configuration
  else
    echo "the configuration window did not appear" >&2
  fi
  kill "$jukelet" 2>/dev/null || true
else
  echo "Jukelet is running; close its window to end."
  wine "$bin/Jukelet.exe" >/dev/null 2>&1
fi
