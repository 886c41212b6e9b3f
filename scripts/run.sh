#!/usr/bin/env bash
# Builds kitloom.exe and the native kitloom-cli, shows a jersey's round trip through
# kitloom-cli on a copy of a demo game folder, then opens kitloom.exe under Wine there.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target kitloom

game=$root/build/windows/demo-game
scripts/make-demo-game.sh "$game"

cmake --preset native >/dev/null
cmake --build --preset native -j2 --target kitloom-cli
cli=$root/build/native/kitloom-cli

# The round trip runs on a copy, so the form below still opens on the untouched demo.
trip=$root/build/native/demo-game-cli
rm -rf "$trip"
cp -r "$game" "$trip"
# The game's render folder: install creates render/xteam inside it, as the game's art folder.
mkdir -p "$trip/render"
cd "$trip"
run_cli() {
  printf '\n$ kitloom-cli'
  printf ' %q' "$@"
  printf '\n'
  "$cli" "$@" || echo "(exit status $?)"
}
echo
echo "== kitloom-cli in a copy of the demo game folder: $trip"
run_cli make-patch --prefix to --file toronto_98 --team 5 --name ABCD --year 1998-99 \
  --type alternate --accessory white --shoe 7 --sock white --neck 1 --lettering horizontal
run_cli show toronto_98.jer
printf '\n$ printf ... > toABCD.fsh; printf ... > toABCD_num.fsh   # stand-ins for the two images\n'
printf 'jersey image\n' > toABCD.fsh
printf 'number image\n' > toABCD_num.fsh
run_cli install toronto_98.jer
run_cli list --slot 002
printf '\n$ ls render/xteam\n'
ls render/xteam
echo
cd "$root"

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
