#!/usr/bin/env bash
# The built kitloom-cli as a real process on a machine that fights back: a save folder
# that cannot be reached, a file-size limit, a full output, SIGTERM in a long sweep and an
# unfinished record. Each check names the fault it stands for.
#   HostileEnvironment.sh PROGRAM
set -uo pipefail
program=$(realpath "$1")
root=$(mktemp -d "${TMPDIR:-/tmp}/kitloom-hostile-XXXXXX") || exit 1
trap 'rm -rf "$root"' EXIT
# The journal goes to the test's folder, never the user's.
export XDG_STATE_HOME=$root/state
jersey=(--team 5 --name ABCD --year 1998-99)

failed=0
fail() { echo "FAIL: $*"; failed=1; }
expect_status() { # WHAT WANTED GOT
  [ "$2" = "$3" ] || fail "$1: exit status $3, wanted $2"
}

# A table of N 29-byte records after a 386-byte header.
table() {
  printf '\003\176\013\036'
  printf "\\$(printf %03o $(($1 % 256)))\\$(printf %03o $(($1 / 256)))\\000\\000"
  head -c 377 /dev/zero | tr '\0' F
  printf '\r'
  for ((i = 1; i <= $1; i++)); do printf ' %028d' "$i"; done
}
count() { od -An -tu4 -j4 -N4 "$1" | tr -d ' '; }
records=3
game() { # FOLDER SAVES...: a game folder with a table of $records records in each save
  local folder=$1
  shift
  rm -rf "$folder"
  for save in "$@"; do
    mkdir -p "$folder/saves/$save"
    table "$records" >"$folder/saves/$save/teamgear.dbf"
  done
}

# A save folder that is a link loop is a table that cannot be opened, not the end.
game "$root/g" 000 002
ln -s 001 "$root/g/saves/001"
"$program" add --game "$root/g" "${jersey[@]}" >"$root/out" 2>"$root/err"
expect_status "link loop" 1 $?
[ "$(count "$root/g/saves/002/teamgear.dbf")" = 4 ] || fail "link loop: save 002 was not visited"
grep -q "ERROR: The team gear file couldn't be opened! (.*saves/001/teamgear.dbf: " "$root/err" ||
  fail "link loop: no ERROR line with the system's reason: $(cat "$root/err")"

# A write past the file-size limit fails and rolls back, instead of killing the process.
records=40 game "$root/g" 000
(ulimit -f 1 && exec "$program" add --game "$root/g" "${jersey[@]}") >"$root/out" 2>"$root/err"
expect_status "file-size limit" 1 $?
[ "$(stat -c %s "$root/g/saves/000/teamgear.dbf")" = $((386 + 40 * 29)) ] || fail "file-size limit: table changed"

# Output that cannot be written fails the job, with the reason of the write that failed,
# and says which saves changed all the same.
if [ -w /dev/full ]; then
  game "$root/g" 000
  "$program" list --game "$root/g" >/dev/full 2>"$root/err"
  expect_status "full output" 1 $?
  grep -qx "ERROR: The output could not be written: No space left on device; no save was changed" "$root/err" ||
    fail "full output: not said: $(cat "$root/err")"
  game "$root/g" 000 001
  "$program" add --game "$root/g" "${jersey[@]}" >/dev/full 2>"$root/err"
  expect_status "full output of an add" 1 $?
  grep -qx "ERROR: The output could not be written: No space left on device; 2 saves were changed all the same" \
    "$root/err" || fail "full output of an add: not said: $(cat "$root/err")"
fi

# After an ERROR line the closing line is never SUCCESS: images not beside the patch, and
# a save that could not be opened.
game "$root/g" 000 001
(cd "$root/g" && "$program" make-patch --prefix to --file p "${jersey[@]}" >/dev/null)
"$program" install "$root/g/p.jer" --art "$root/art" --images-later >"$root/out" 2>"$root/err"
expect_status "images not beside the patch" 1 $?
grep -q "SUCCESS" "$root/out" && fail "images not beside the patch: closed with SUCCESS"
grep -q "^ERROR: Couldn't move toABCD.fsh to .* (not beside the patch at $root/g/toABCD.fsh)$" "$root/err" ||
  fail "images not beside the patch: no reason: $(cat "$root/err")"
tail -n 1 "$root/err" | grep -q "^ERROR: The jersey went into all 2 saves, but its images are not all in the art" ||
  fail "images not beside the patch: closing line: $(cat "$root/err")"
# Without --images-later the patch goes in whole or not at all: no save changes.
before=$(cksum "$root/g/saves/000/teamgear.dbf")
"$program" install "$root/g/p.jer" --art "$root/art" --again >"$root/out" 2>"$root/err"
expect_status "images not beside the patch, whole or nothing" 1 $?
[ "$(cksum "$root/g/saves/000/teamgear.dbf")" = "$before" ] || fail "images not beside the patch: a save changed"
grep -q "^ERROR: Nothing was installed" "$root/err" || fail "whole or nothing: closing line: $(cat "$root/err")"
chmod 000 "$root/g/saves/001"
if ! [ -r "$root/g/saves/001" ]; then
  "$program" add --game "$root/g" "${jersey[@]}" >"$root/out" 2>"$root/err"
  expect_status "a save that cannot be opened" 1 $?
  grep -q "SUCCESS" "$root/out" && fail "a save that cannot be opened: closed with SUCCESS"
  tail -n 1 "$root/err" | grep -qx "ERROR: The jersey went into 1 of 2 saves: the ERROR lines above say why" ||
    fail "a save that cannot be opened: closing line: $(cat "$root/err")"
fi
chmod 755 "$root/g/saves/001"

# A game folder so deep that no table path is one the system takes: one table's line, not a
# thousand, with the reason.
deep="$root/deep"
mkdir "$deep"
(
  cd "$deep" || exit 1
  for ((level = 0; level < 17; level++)); do
    name=$(printf 'd%.0s' {1..240})
    mkdir "$name" && cd "$name" || exit 1
  done
  mkdir -p saves/000
  table 3 >saves/000/teamgear.dbf
  "$program" add --game "$PWD" "${jersey[@]}" >"$root/out" 2>"$root/err"
  echo $? >"$root/status"
)
expect_status "a path too long" 1 "$(cat "$root/status")"
[ "$(grep -c teamgear.dbf "$root/err")" = 1 ] && grep -q "saves/000/teamgear.dbf: name too long)$" "$root/err" ||
  fail "a path too long: $(tail -c 300 "$root/err")"
rm -rf "$deep" 2>/dev/null || find "$deep" -depth -delete 2>/dev/null

# A game folder whose name holds control characters: the report shows them escaped, so
# they cannot retitle or clear the terminal.
odd="$root/odd"$'\e]0;x\a'
game "$odd" 000
"$program" add --game "$odd" --slot 000 "${jersey[@]}" >"$root/out" 2>"$root/err"
expect_status "control characters in a path" 0 $?
if grep -q $'\e' "$root/out" "$root/err" || ! grep -q 'odd\\x1b]0;x\\x07' "$root/out"; then
  fail "control characters in a path: not escaped: $(od -c "$root/out" | head -3)"
fi

# An unfinished record past the count is cut back, and the report says so.
game "$root/g" 000
printf 'unfinished' >>"$root/g/saves/000/teamgear.dbf"
"$program" add --game "$root/g" --slot 000 "${jersey[@]}" >"$root/out" 2>"$root/err"
expect_status "unfinished record" 0 $?
grep -q "teamgear.dbf: an unfinished record past the count was cut back" "$root/out" ||
  fail "unfinished record: not reported: $(cat "$root/out")"

# SIGTERM in a long sweep: the table in hand is finished, every changed one is named.
saves=()
for ((i = 0; i < 300; i++)); do saves+=("$(printf %03d "$i")"); done
game "$root/g" "${saves[@]}"
"$program" add --game "$root/g" "${jersey[@]}" >"$root/out" 2>"$root/err" &
writer=$!
for ((wait = 0; wait < 100; wait++)); do
  grep -q "added as record" "$root/out" && break
  sleep 0.05
done
kill -TERM "$writer"
wait "$writer"
status=$?
if [ "$status" = 0 ]; then
  echo "SIGTERM: the sweep ended before the signal; not checked"
else
  expect_status "SIGTERM ($(cat "$root/err"))" 143 "$status"
  grep -q "ERROR: Stopped by SIGTERM" "$root/err" || fail "SIGTERM: not said: $(cat "$root/err")"
  for save in "${saves[@]}"; do
    table="$root/g/saves/$save/teamgear.dbf"
    case $(count "$table") in
      3) [ "$(stat -c %s "$table")" = $((386 + 3 * 29)) ] || fail "SIGTERM: $save is not whole" ;;
      4) grep -q "saves/$save/teamgear.dbf: added as record 4" "$root/out" || fail "SIGTERM: $save changed unnamed" ;;
      *) fail "SIGTERM: $save holds $(count "$table") records" ;;
    esac
  done
fi

# An image copied across file systems and cut by a file-size limit leaves nothing under
# its name and no temporary; the next install copies it whole.
shm=/dev/shm/kitloom-hostile-$$
if [ "$(stat -c %d /dev/shm 2>/dev/null)" != "$(stat -c %d "$root")" ] && mkdir "$shm" 2>/dev/null; then
  game "$root/g" 000
  (cd "$root/g" && "$program" make-patch --prefix bi --file p "${jersey[@]}" >/dev/null)
  head -c 204800 /dev/urandom >"$root/g/biABCD.fsh"
  cp "$root/g/biABCD.fsh" "$root/image"
  printf 'number' >"$root/g/biABCD_num.fsh"
  (ulimit -f 50 && exec "$program" install "$root/g/p.jer" --art "$shm/xteam") >"$root/out" 2>"$root/err"
  expect_status "cut copy" 1 $?
  [ ! -e "$shm/xteam/biABCD.fsh" ] || fail "cut copy: a piece stands under the image's name"
  [ -z "$(find "$shm/xteam" -name '.kitloom-*')" ] || fail "cut copy: a temporary was left"
  "$program" install "$root/g/p.jer" --art "$shm/xteam" >"$root/out" 2>"$root/err"
  expect_status "copy after a cut one" 0 $?
  cmp -s "$shm/xteam/biABCD.fsh" "$root/image" || fail "copy after a cut one: the image is not whole"
  rm -rf "$shm"
else
  echo "cut copy: no second file system at /dev/shm here; not checked"
fi

# A dry run meets what the real run would: an art folder this user may not write.
if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null; then
  shared=$(mktemp -d /tmp/kitloom-shared-XXXXXX)
  chmod 755 "$shared"
  game "$shared/g" 000
  mkdir "$shared/art"
  (cd "$shared/g" && "$program" make-patch --prefix to --file p "${jersey[@]}" >/dev/null)
  printf 'image' >"$shared/g/toABCD.fsh"
  printf 'number' >"$shared/g/toABCD_num.fsh"
  chown -R nobody "$shared/g"
  as_nobody() { setpriv --reuid=nobody --regid=nogroup --clear-groups "$program" "$@"; }
  as_nobody install "$shared/g/p.jer" --art "$shared/art" --dry-run >"$root/dry" 2>"$root/dry-err"
  dry=$?
  as_nobody install "$shared/g/p.jer" --art "$shared/art" >"$root/out" 2>"$root/err"
  expect_status "dry run into an unwritable art folder" $? $dry
  grep -q "Couldn't move toABCD.fsh" "$root/dry-err" || fail "dry run: promised a move the real run cannot make"
  rm -rf "$shared"
else
  echo "dry run as another user: not root, or no setpriv; not checked"
fi

[ "$failed" = 0 ] && echo "hostile environment: every check passed"
exit "$failed"
