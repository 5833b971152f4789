# Sourced by the tools: a throwaway Wine prefix and, where needed, a private Xvfb display.
#   wine_session_start BUILD_DIR [--keep-display]   exports WINEPREFIX, DISPLAY, WINE* settings
#   wine_session_stop                               ends everything the session started
# Nothing here touches the user's own Wine prefix; the user's display only with --keep-display.

wine_env() {
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export WINEARCH=win64
}

# One template prefix per build, copied for every session: a fresh prefix costs 5-8 s, a copy 1 s.
#   wine_make_template DIR [LOADER]   LOADER runs wineboot (default: wine)
wine_make_template() {
  local template=$1 loader=${2:-wine} stamp
  stamp="$(wine --version 2>/dev/null)"
  if [ -f "$template/.ready" ] && [ "$(cat "$template/.ready")" = "$stamp" ]; then return 0; fi
  rm -rf "$template"
  mkdir -p "$template"
  echo "rig: creating the template Wine prefix" >&2
  WINEPREFIX="$template" "$loader" wineboot -i >/dev/null 2>&1
  # Without a window manager, Wine draws the title bars itself and closes boxes at once.
  WINEPREFIX="$template" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  WINEPREFIX="$template" wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  WINEPREFIX="$template" wineserver -w
  # Debian's Wine does not find its own fonts: captions would be unreadable.
  cp /usr/share/wine/fonts/* "$template/drive_c/windows/Fonts/"
  echo "$stamp" >"$template/.ready"
}

wine_start_xvfb() {
  local numberfile
  numberfile=$(mktemp)
  Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$numberfile" >/dev/null 2>&1 &
  RIG_XVFB_PID=$!
  local i
  # Under load it may take a while to answer; a test run without a display would only fail.
  for i in $(seq 1 400); do
    [ -s "$numberfile" ] && break
    sleep 0.05
  done
  if [ ! -s "$numberfile" ]; then
    echo "rig: Xvfb did not start" >&2
    kill "$RIG_XVFB_PID" 2>/dev/null
    RIG_XVFB_PID=""
    rm -f "$numberfile"
    return 1
  fi
  export DISPLAY=":$(tr -d '\n' <"$numberfile")"
  rm -f "$numberfile"
}

wine_session_start() {
  local build keep_display=${2:-}
  build=$(cd "$1" && pwd)
  wine_env
  mkdir -p "$build/wine"
  wine_make_template "$build/wine/template"
  export WINEPREFIX
  WINEPREFIX=$(mktemp -d "$build/wine/run.XXXXXX")
  cp -a "$build/wine/template/." "$WINEPREFIX/"
  RIG_XVFB_PID=""
  if [ "$keep_display" != "--keep-display" ] || [ -z "${DISPLAY:-}" ]; then
    wine_start_xvfb || return 1
  fi
  # The first process of a prefix starts services that inherit its output.
  wine cmd /c exit >/dev/null 2>&1 </dev/null
  # Wine closes its desktop shortly after the last window goes; keep one alive.
  RIG_KEEPER_PID=""
  if [ -x "$build/bin/desktop_keeper.exe" ] || [ -f "$build/bin/desktop_keeper.exe" ]; then
    wine "$build/bin/desktop_keeper.exe" >"$WINEPREFIX/keeper.log" 2>&1 </dev/null &
    RIG_KEEPER_PID=$!
    # A test program started before the desktop is up can keep ctest waiting on its output.
    local i
    for i in $(seq 1 300); do
      grep -q '^ready' "$WINEPREFIX/keeper.log" 2>/dev/null && break
      sleep 0.1
    done
  fi
  export JUKELET_WINE_SESSION=1
}

wine_session_stop() {
  [ -n "${RIG_KEEPER_PID:-}" ] && kill "$RIG_KEEPER_PID" 2>/dev/null
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
  [ -n "${RIG_XVFB_PID:-}" ] && kill "$RIG_XVFB_PID" 2>/dev/null
  if [ -n "${WINEPREFIX:-}" ] && [[ "$WINEPREFIX" == */wine/run.* ]]; then rm -rf "$WINEPREFIX"; fi
  RIG_KEEPER_PID="" RIG_XVFB_PID=""
  return 0
}
