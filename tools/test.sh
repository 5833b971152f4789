#!/usr/bin/env bash
# Sets up what is missing, builds both architectures and runs the whole test suite: the
# host checks of the 32-bit release, then every test program under Wine, in a throwaway
# prefix on a private Xvfb display. Extra arguments go to both ctest runs, so
# `tools/test.sh -R X` runs only what matches X. Exits non-zero when a test fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/tools/setup.sh"
"$root/tools/build.sh" all

count_tests() {
  ctest --test-dir "$1" -N "${@:2}" | sed -n 's/^Total Tests: //p'
}

# The x86 build (the release) is checked on the host here; tools/check-release.sh runs it.
host_tests=$(count_tests "$root/build/x86" -L host "$@")
if ((host_tests > 0)); then
  ctest --test-dir "$root/build/x86" -L host --output-on-failure --no-tests=error "$@"
fi

source "$root/tests/rig/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start "$root/build/x64"
# Listing the Wine tests runs the test programs, so it needs the session.
if (($# > 0)) && ((host_tests > 0)) && (($(count_tests "$root/build/x64" "$@") == 0)); then exit 0; fi
ctest --test-dir "$root/build/x64" --output-on-failure --no-tests=error --timeout 180 "$@"
