#!/usr/bin/env bash
# ctest's emulator: runs a test program under Wine, but only inside a rig session, so a
# stray `ctest` never touches the user's own prefix or display.
#
# Under load Wine now and then fails to start a process at all. That is the rig's fault,
# not a test's: a test program marks its start in a file (tests/support/TestMain.cpp), and
# one that never got that far is started again. Any run that started is final.
if [ -z "${JUKELET_WINE_SESSION:-}" ] || [ -z "${WINEPREFIX:-}" ]; then
  echo "run the tests through tools/test.sh (it makes a throwaway Wine prefix and display)" >&2
  exit 2
fi

attempts=3
for ((attempt = 1; ; attempt++)); do
  marker=$(mktemp -u "$WINEPREFIX/drive_c/started.XXXXXX")
  status=0
  JUKELET_TEST_STARTED='C:\'"$(basename "$marker")" wine "$@" || status=$?
  started=0
  [ -e "$marker" ] && started=1
  rm -f "$marker"
  if ((started || attempt == attempts)); then
    ((started)) || echo "rig: the test program never started, $attempts times (wine exit $status)" >&2
    exit "$status"
  fi
  echo "rig: the test program never started (wine exit $status); starting it again" >&2
done
