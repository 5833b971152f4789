#!/usr/bin/env bash
# Installs, from Debian's packages, whatever of the toolchain and test rig is missing.
# With --release-check, also what tools/check-release.sh needs to run the 32-bit build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"

packages=(
  cmake ninja-build
  g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32 mingw-w64-tools binutils-mingw-w64
  googletest clang-format
  wine wine64 fonts-wine fonts-liberation xvfb x11-utils xdotool imagemagick python3
)
[ "${1:-}" = "--release-check" ] && packages+=(qemu-user-static)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
# A system-wide 32-bit Wine would shadow wine64: /usr/bin/wine would start every program
# through it (emulated here, minutes instead of a fraction of a second).
if dpkg-query -W -f='${Status}' wine32 2>/dev/null | grep -q 'install ok installed'; then
  echo "setup: wine32 is installed; the 64-bit test build needs it removed (apt-get remove wine32)" >&2
  exit 1
fi

# The 32-bit Wine stays in a folder of its own: see tools/prepare-wine-i386.sh.
if [ "${1:-}" = "--release-check" ]; then
  $sudo_cmd "$root/tools/prepare-wine-i386.sh" "$root/build/wine-i386"
fi
