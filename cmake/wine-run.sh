#!/usr/bin/env bash
# Runs a Windows program under Wine with a private prefix inside the build folder.
# KITLOOM_WINEPREFIX overrides the prefix; otherwise it is <current build folder>/wineprefix,
# found by walking up from the working folder to the folder holding CMakeCache.txt.
set -euo pipefail

if [ -z "${KITLOOM_WINEPREFIX:-}" ]; then
  dir=$PWD
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  [ -f "$dir/CMakeCache.txt" ] || { echo "wine-run: no build folder above $PWD" >&2; exit 2; }
  KITLOOM_WINEPREFIX=$dir/wineprefix
fi
export WINEPREFIX=$KITLOOM_WINEPREFIX
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win32

# Several tests may start at once: only one creates the prefix.
mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/.kitloom-ready" ]; then
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    # Unmanaged windows: no window manager runs under the tests, and managed ones make Wine
    # wait on every hide. A desktop session asks for managed ones (KITLOOM_WINE_MANAGED=1).
    if [ -z "${KITLOOM_WINE_MANAGED:-}" ]; then
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    fi
    wineserver -w
    touch "$WINEPREFIX/.kitloom-ready"
  fi
) 9>"$WINEPREFIX.lock"

# Debian's wineserver quits the moment its last client does; a test starting just then
# loses its connection. Keep it a few seconds between tests (and away from our pipes).
wineserver -p3 </dev/null >/dev/null 2>&1 || true

exec wine "$@"
