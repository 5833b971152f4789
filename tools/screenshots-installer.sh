#!/usr/bin/env bash
# Pictures the 64-bit setup program's window and every box it and the uninstaller show, under
# Wine on a private Xvfb display in a throwaway prefix, into docs/screenshots/installer-*.png
# (each cropped to its window, title bar included). tests/install/InstallerScreenshots.cpp
# does the driving: setup's window, its folder browser, a refused folder, "installed", the
# offer to remove another copy, then the uninstaller's question, its Retry while Jukelet
# runs, and "removed".
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/docs/screenshots"

"$root/tools/setup.sh"
"$root/tools/build.sh" x64 installer_screenshots >/dev/null

source "$root/tests/rig/wine-session.sh"
shots=$(mktemp -d)
finish() {
  wine_session_stop
  rm -rf "$shots"
}
trap finish EXIT
wine_session_start "$root/build/x64"

wine "$root/build/x64/bin/installer_screenshots.exe" "$(winepath -w "$shots")" </dev/null
mkdir -p "$out"
rm -f "$out"/installer-*.png
for bmp in "$shots"/*.bmp; do
  png="$out/$(basename "${bmp%.bmp}").png"
  # No time stamps: the same windows give the same files.
  convert "$bmp" -strip -define png:exclude-chunks=date,time "$png"
  echo "screenshot: ${png#"$root"/}"
done
