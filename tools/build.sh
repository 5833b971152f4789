#!/usr/bin/env bash
# Configures and builds one or both architectures: tools/build.sh [x64|x86|all] [TARGET...]
# (every target unless some are named).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
which=${1:-all}
targets=("${@:2}")

build_arch() {
  local arch=$1 toolchain=$2
  cmake -S "$root" -B "$root/build/$arch" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
  local only=()
  ((${#targets[@]})) && only=(--target "${targets[@]}")
  cmake --build "$root/build/$arch" "${only[@]}"
}

case $which in
  x64) build_arch x64 mingw-x86_64.cmake ;;
  x86) build_arch x86 mingw-i686.cmake ;;
  all) build_arch x64 mingw-x86_64.cmake; build_arch x86 mingw-i686.cmake ;;
  *) echo "usage: $0 [x64|x86|all] [TARGET...]" >&2; exit 2 ;;
esac
