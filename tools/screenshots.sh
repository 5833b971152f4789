#!/usr/bin/env bash
# Pictures every window and message box of Jukelet under Wine, on a private Xvfb display in
# a throwaway prefix, into docs/screenshots/*.png (each cropped to its window, title bar
# included). Wine draws the title bars itself (the rig's prefix is unmanaged).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/docs/screenshots"

"$root/tools/setup.sh"
"$root/tools/build.sh" x64 >/dev/null

source "$root/tests/rig/wine-session.sh"
shots=$(mktemp -d)
finish() {
  wine_session_stop
  rm -rf "$shots"
}
trap finish EXIT
wine_session_start "$root/build/x64"

wine "$root/build/x64/bin/ui_screenshots.exe" "$(winepath -w "$shots")" </dev/null
mkdir -p "$out"
for bmp in "$shots"/*.bmp; do
  png="$out/$(basename "${bmp%.bmp}").png"
  # No time stamps: the same windows give the same files.
  convert "$bmp" -strip -define png:exclude-chunks=date,time "$png"
  echo "screenshot: ${png#"$root"/}"
done
