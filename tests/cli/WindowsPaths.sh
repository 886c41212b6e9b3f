#!/usr/bin/env bash
# kitloom-cli.exe under Wine, with folders as players name them: with no game, each place
# looked in is named once; a patch made and downloaded
# in a Cyrillic folder goes into a game in a CJK folder and its images into a Greek art folder,
# by a name beyond ASCII; the game chosen once is found there; a jersey name the code page
# lacks is a usage mistake. Then paths past 259 characters: a game, a patch and its images
# there go in; a path the system cannot take is refused with its reason before anything changes.
#   WindowsPaths.sh PROGRAM.exe WINE-RUN   (KITLOOM_WINEPREFIX: a prefix of this test's own)
set -uo pipefail
program=$(realpath "$1")
wine_run=$2
"$wine_run" --prepare "$program" || exit 1
drive=$KITLOOM_WINEPREFIX/drive_c
top=kitloom-paths-$$
rm -rf "${drive:?}/$top"
trap 'rm -rf "${drive:?}/$top"; "$wine_run" "$program" where --forget </dev/null >/dev/null 2>&1' EXIT

failed=0
fail() { echo "FAIL: $*"; failed=1; }
# Runs kitloom-cli.exe in the Unix folder $1 (Wine makes it C:\...); its output in $out, its
# errors in $err, its exit status in $status.
cli() {
  local folder=$1; shift
  out=$(cd "$folder" && "$wine_run" "$program" "$@" </dev/null 2>/tmp/$top.err)
  status=$?
  err=$(cat /tmp/$top.err); rm -f /tmp/$top.err
}
has() { case $1 in *"$2"*) return 0 ;; esac; return 1; }
# A table of $2 29-byte records after a 386-byte header.
table() {
  mkdir -p "$(dirname "$1")"
  {
    printf '\003\176\013\036'
    printf "\\$(printf %03o "$2")\\000\\000\\000"
    head -c 377 /dev/zero | tr '\0' F
    printf '\r'
    for ((i = 1; i <= $2; i++)); do printf ' %028d' "$i"; done
  } >"$1"
}
game() { for save in 000 001; do table "$1/saves/$save/teamgear.dbf" 3; done; }
records() { echo $((($(stat -c %s "$1/saves/$2/teamgear.dbf") - 386) / 29)); }

downloads=$drive/$top/Иван/Downloads
dunkmere=$drive/$top/李明/Dunkmere
art=$drive/$top/Ελένη/xteam
mkdir -p "$downloads" "$drive/$top/Ελένη"
game "$dunkmere"
win_downloads="C:\\$top\\Иван\\Downloads"
win_game="C:\\$top\\李明\\Dunkmere"
win_art="C:\\$top\\Ελένη\\xteam"

# No game anywhere: each place looked in is named once (64-bit Windows names C:\Program Files
# twice, as ProgramFiles and ProgramW6432).
cli "$downloads" where
places=$(grep -o 'nor in .*' <<<"$err" | head -n 1 | sed 's/^nor in //; s/, /\n/g' | tr '[:upper:]' '[:lower:]')
[ "$status" -eq 1 ] && [ -n "$places" ] && [ "$(sort <<<"$places" | uniq -d)" = "" ] ||
  fail "No game folder was found names a place twice: $status $err"

cli "$downloads" make-patch --prefix xy --file münc --team 3 --name MÜNC --year 1998-99
[ "$status" -eq 0 ] && [ -f "$downloads/münc.jer" ] || fail "make-patch in $win_downloads: $status $out $err"
# The jersey name is stored as code page 1252 bytes, as the game reads it.
grep -q $'M\xdcNC' "$downloads/münc.jer" || fail "the patch does not hold MÜNC in code page 1252"
echo image >"$downloads/xyMÜNC.fsh"
echo number >"$downloads/xyMÜNC_num.fsh"
cli "$downloads" install "$win_downloads\\münc.jer" --game "$win_game" --art "$win_art"
[ "$status" -eq 0 ] || fail "install from $win_downloads: $status $out $err"
has "$out" "$win_game\\saves\\000\\teamgear.dbf: added as record 4" || fail "no UTF-8 table line: $out"
has "$out" "moved to $win_art\\xyMÜNC_num.fsh" || fail "no UTF-8 image line: $out"
[ "$(cat "$art/xyMÜNC.fsh" 2>/dev/null)" = image ] && [ "$(cat "$art/xyMÜNC_num.fsh" 2>/dev/null)" = number ] ||
  fail "the images are not in $win_art: $(ls "$art" 2>&1)"
[ "$(records "$dunkmere" 000)" = 4 ] && [ "$(records "$dunkmere" 001)" = 4 ] || fail "the saves did not get it"
tail -c 29 "$dunkmere/saves/000/teamgear.dbf" | grep -q $'M\xdcNC' || fail "the table does not hold MÜNC in 1252"

cli "$downloads" where --use "$win_game"
[ "$status" -eq 0 ] && has "$out" "chosen: $win_game" || fail "where --use $win_game: $status $out $err"
cli "$downloads" add --team 5 --name АБВГ --year 1998-99
[ "$status" -eq 2 ] && has "$err" "which has no \"А\"" || fail "a name 1252 lacks: $status $err"
cli "$drive/$top" add --team 5 --name ABCD --year 1998-99
[ "$status" -eq 0 ] && has "$out" "game: $win_game (chosen" && [ "$(records "$dunkmere" 001)" = 5 ] ||
  fail "the game chosen once in $win_game: $status $out $err"
cli "$drive/$top" where --forget

# 61-character folders: the game's tables lie past 259 characters; a patch's images, in a
# folder of 249, at 260 and 264.
deep=$drive/$top
win_deep="C:\\$top"
for letter in a b c d; do
  deep+=/$(printf "$letter%.0s" {1..60})
  win_deep+=\\$(printf "$letter%.0s" {1..60})
done
game "$deep/Dunkmere"
cli "$drive/$top" add --team 5 --name LONG --year 1998-99 --game "$win_deep\\Dunkmere"
[ "$status" -eq 0 ] && [ "$(records "$deep/Dunkmere" 001)" = 4 ] || fail "add in a long game folder: $status $err"
patch_folder=$drive/$top/$(printf 'p%.0s' $(seq $((249 - ${#top} - 4))))
win_patch_folder="C:\\$top\\${patch_folder##*/}"
[ ${#win_patch_folder} -eq 249 ] || fail "the patch's folder has ${#win_patch_folder} characters, not 249"
mkdir -p "$patch_folder"
cp "$downloads/münc.jer" "$patch_folder/long.jer"
echo image >"$patch_folder/xyMÜNC.fsh"
echo number >"$patch_folder/xyMÜNC_num.fsh"
cli "$drive/$top" install "$win_patch_folder\\long.jer" --game "$win_deep\\Dunkmere" --art "$win_deep\\art"
[ "$status" -eq 0 ] && [ -f "$deep/art/xyMÜNC_num.fsh" ] && [ "$(records "$deep/Dunkmere" 000)" = 5 ] ||
  fail "a patch in a folder of 249 characters: $status $out $err"

# No file system takes a name of 256 characters: the art folder's is refused by name, and
# nothing changes; a patch there cannot be opened, and says why.
long_name=$(printf 'n%.0s' {1..256})
cp "$downloads/münc.jer" "$downloads/again.jer"
echo image >"$downloads/xyMÜNC.fsh"
echo number >"$downloads/xyMÜNC_num.fsh"
cli "$downloads" install "$win_downloads\\again.jer" --game "$win_game" --art "C:\\$top\\$long_name" --again
[ "$status" -eq 1 ] && has "$err" "(name too long: C:\\$top\\$long_name\\xyMÜNC.fsh)" ||
  fail "an art folder of a name too long: $status $err"
[ "$(records "$dunkmere" 000)" = 5 ] && [ -f "$downloads/xyMÜNC.fsh" ] || fail "the refused install changed something"
cli "$downloads" install "C:\\$top\\$long_name\\x.jer" --game "$win_game"
[ "$status" -eq 1 ] && has "$err" "Couldn't open the patch file! (C:\\$top\\$long_name\\x.jer: " ||
  fail "a patch of a name too long: $status $err"

[ $failed -eq 0 ] && echo "kitloom-cli.exe took every path"
exit $failed
