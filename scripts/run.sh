#!/usr/bin/env bash
# Builds kitloom.exe and opens it under Wine in a demo game folder.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target kitloom

game=$root/build/windows/demo-game
scripts/make-demo-game.sh "$game"

if [ -z "${DISPLAY:-}" ]; then
  echo "No display to show the form on. Run with one, for example on a virtual display:"
  echo "    xvfb-run -a scripts/run.sh"
  echo "or from a desktop session, where DISPLAY is set."
  exit 0
fi

# A prefix of its own, with managed windows, so that a desktop's window manager can move them.
export KITLOOM_WINEPREFIX=$root/build/windows/wineprefix-run KITLOOM_WINE_MANAGED=1
echo "Opening Kitloom in $game (close it with Exit)."
cd "$game"
"$root/cmake/wine-run.sh" "$root/build/windows/kitloom.exe" || true
"$root/cmake/wine-run.sh" wineserver -w 2>/dev/null || true
