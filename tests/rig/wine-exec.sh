#!/usr/bin/env bash
# ctest's emulator: runs a test program under Wine, but only inside a rig session, so a
# stray `ctest` never touches the user's own prefix or display.
if [ -z "${JUKELET_WINE_SESSION:-}" ] || [ -z "${WINEPREFIX:-}" ]; then
  echo "run the tests through tools/test.sh (it makes a throwaway Wine prefix and display)" >&2
  exit 2
fi
exec wine "$@"
