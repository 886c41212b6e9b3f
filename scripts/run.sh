#!/usr/bin/env bash
# Builds kitloom.exe and the native kitloom-cli, shows a jersey's round trip through
# kitloom-cli on a copy of a demo game folder, then opens kitloom.exe under Wine there:
# the 32-bit build (the one we ship) where this machine runs 32-bit code and has 32-bit Wine,
# else the 64-bit one.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/install-deps.sh
if why=$(scripts/runs-32bit.sh); then
  preset=windows
else
  preset=windows64
  echo "The form opens from the 64-bit Windows build: $why."
fi
build=$root/build/$preset
cmake --preset $preset >/dev/null
cmake --build --preset $preset -j2 --target kitloom

game=$build/demo-game
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
  echo "The form was not opened: there is no display to show it on. Run with one, for example"
  echo "on a virtual display:"
  echo "    xvfb-run -a scripts/run.sh"
  echo "or from a desktop session, where DISPLAY is set."
  exit 1
fi

# A prefix of its own, with managed windows, so that a desktop's window manager can move them.
export KITLOOM_WINEPREFIX=$build/wineprefix-run KITLOOM_WINE_MANAGED=1
program=$build/kitloom.exe
if ! "$root/cmake/wine-run.sh" --prepare "$program"; then
  echo "The form was not opened: Wine could not start (its words are above)." >&2
  exit 1
fi
echo "Opening Kitloom in $game (close it with Exit)."
cd "$game"
status=0
"$root/cmake/wine-run.sh" "$program" || status=$?
"$root/cmake/wine-run.sh" --server-wait "$program" 2>/dev/null || true
# Exit and the close box end the form with 40002, which a process status keeps as 66.
if [ "$status" -ne $((40002 % 256)) ]; then
  echo "kitloom.exe ended with status $status, not by Exit: the form could not be shown or failed." >&2
  exit 1
fi
