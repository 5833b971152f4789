#!/usr/bin/env bash
# Sets up what is missing, builds both architectures and runs the whole test suite under
# Wine, in a throwaway prefix on a private Xvfb display. Exits non-zero when a test fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/tools/setup.sh"
"$root/tools/build.sh" all

# The x86 build (the release) is checked on the host here; tools/check-release.sh runs it.
ctest --test-dir "$root/build/x86" -L host --output-on-failure --no-tests=error

source "$root/tests/rig/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start "$root/build/x64"
ctest --test-dir "$root/build/x64" --output-on-failure --no-tests=error --timeout 180 "$@"
