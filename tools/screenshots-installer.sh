#!/usr/bin/env bash
# Runs the 64-bit setup program and its uninstaller under Wine, on a private Xvfb display in
# a throwaway prefix, pressing Enter through every page, and saves each page's window as
# docs/screenshots/installer-*.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/docs/screenshots"
import=/usr/bin/import
convert=/usr/bin/convert

"$root/tools/setup.sh"
"$root/tools/build.sh" x64
setup=$(ls "$root"/build/x64/bin/JukeletSetup-*-x64.exe)

source "$root/tests/rig/wine-session.sh"
work=$(mktemp -d)
cleanup() {
  wine_session_stop
  rm -rf "$work"
}
trap cleanup EXIT
wine_session_start "$root/build/x64"
mkdir -p "$out"

# The X window Wine made for the top-level window with this title (NSIS may end it with a
# blank).
wait_for_window() {
  local title=$1 id
  for _ in $(seq 1 150); do
    id=$(xdotool search --onlyvisible --name "^${title} *\$" 2>/dev/null | head -n 1 || true)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  echo "screenshots: no window \"$title\" appeared" >&2
  return 1
}

# Waits until the window shows something other than the last page and holds still, then
# saves it as NAME.png.
last_page=""
capture_page() {
  local window=$1 name=$2 previous="" current
  for _ in $(seq 1 100); do
    sleep 0.2
    "$import" -window "$window" "ppm:$work/page.ppm" 2>/dev/null || continue
    current=$(md5sum <"$work/page.ppm" | cut -d' ' -f1)
    if [ "$current" = "$previous" ] && [ "$current" != "$last_page" ]; then
      "$convert" "$work/page.ppm" -strip "$out/$name.png"
      last_page=$current
      echo "screenshots: $out/$name.png"
      return 0
    fi
    previous=$current
  done
  echo "screenshots: the window never settled on a new page for $name" >&2
  return 1
}

# Enter presses the page's default button: Next, Install, Finish, Uninstall, Close.
press_enter() {
  xdotool windowfocus --sync "$1" 2>/dev/null || true
  xdotool key --clearmodifiers Return
}

# Waits (bounded) for a background launcher to end.
wait_for_exit() {
  local pid=$1
  for _ in $(seq 1 150); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  echo "screenshots: process $pid did not end" >&2
  return 1
}

# Waits (bounded) for a file in the prefix.
wait_for_file() {
  for _ in $(seq 1 150); do
    [ -e "$1" ] && return 0
    sleep 0.1
  done
  echo "screenshots: $1 never appeared" >&2
  return 1
}

installed="$WINEPREFIX/drive_c/Program Files/Jukelet"
wine "$setup" >/dev/null 2>&1 </dev/null &
launcher=$!
window=$(wait_for_window "Jukelet Setup")
capture_page "$window" installer-1-welcome
press_enter "$window"
capture_page "$window" installer-2-folder
press_enter "$window"
wait_for_file "$installed/Uninstall.exe"
capture_page "$window" installer-3-installed
press_enter "$window"
capture_page "$window" installer-4-finish
press_enter "$window"
wait_for_exit "$launcher"

wine "C:\\Program Files\\Jukelet\\Uninstall.exe" >/dev/null 2>&1 </dev/null &
window=$(wait_for_window "Jukelet Uninstall")
last_page=""
capture_page "$window" installer-5-uninstall
press_enter "$window"
capture_page "$window" installer-6-uninstalled
press_enter "$window"
