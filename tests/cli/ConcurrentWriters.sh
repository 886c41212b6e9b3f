#!/usr/bin/env bash
# Four kitloom-cli processes install 25 patches each at the same time, first all into one
# save folder, then each into a sweep of five: every table must end with its count
# matching its size and every jersey that was reported installed.
#   ConcurrentWriters.sh PROGRAM [EMULATOR]
set -uo pipefail
program=$(realpath "$1")
emulator=${2:-}
writers=4
installs=25
saves=5
start=5

game=$(mktemp -d "${TMPDIR:-/tmp}/kitloom-writers-XXXXXX") || exit 1
trap 'rm -rf "$game"' EXIT

# A table of N 29-byte records after a 386-byte header.
table() {
  printf '\003\176\013\036'
  printf "\\$(printf %03o "$1")\\000\\000\\000"
  head -c 377 /dev/zero | tr '\0' F
  printf '\r'
  for ((i = 1; i <= $1; i++)); do printf ' %028d' "$i"; done
}

# A patch with no images: save folder line, two empty image lines, the trailer with
# jersey name $2.
patch() {
  printf '%s\r\n\r\n\r\n' "$1"
  printf '\005\000\000\000\002\000\000\000%s1998-99' "$2"
  printf '\003\000\000\000\011\000\000\000\001\000\000\000\001\000\000\000\001\000\000\000'
}

failed=0
fail() { echo "FAIL: $*"; failed=1; }

run() { # SLOT_LINE TABLES...
  local slot=$1
  shift
  rm -rf "$game"/saves "$game"/*.jer "$game"/*.out
  for folder in "$@"; do
    mkdir -p "$game/saves/$folder"
    table $start >"$game/saves/$folder/teamgear.dbf"
  done
  local pids=()
  for ((w = 1; w <= writers; w++)); do
    patch "$slot" "WR${w}Z" >"$game/w$w.jer"
    local args=()
    for ((i = 0; i < installs; i++)); do args+=("w$w.jer"); done
    # Relative names from inside the game folder, so that no path needs translating.
    (cd "$game" && $emulator "$program" install "${args[@]}" --art art >"w$w.out" 2>&1) &
    pids+=($!)
  done
  for ((w = 1; w <= writers; w++)); do
    wait "${pids[w - 1]}" || fail "writer $w exited with $? (slot '$slot'): $(grep -v '^w' "$game/w$w.out" | sort | uniq -c)"
    local said
    said=$(grep -c '^SUCCESS: Jersey Installed Succesfully' "$game/w$w.out")
    [ "$said" -eq $installs ] || fail "writer $w reported $said successes of $installs (slot '$slot')"
  done
  for folder in "$@"; do
    local file=$game/saves/$folder/teamgear.dbf
    local count size expected
    count=$(od -An -tu4 -j4 -N4 "$file" | tr -d ' ')
    size=$(stat -c %s "$file")
    expected=$((386 + 29 * count))
    [ "$(tail -c 1 "$file" | od -An -tx1 | tr -d ' ')" = 1a ] && expected=$((expected + 1))
    [ "$count" -eq $((start + writers * installs)) ] || fail "saves/$folder: count $count"
    [ "$size" -eq "$expected" ] || fail "saves/$folder: $size bytes for count $count"
    for ((w = 1; w <= writers; w++)); do
      local found
      found=$(grep -a -o "WR${w}Z" "$file" | wc -l)
      [ "$found" -eq $installs ] || fail "saves/$folder: $found jerseys of writer $w"
    done
  done
}

run 000 000
run "" $(seq -f %03g 0 $((saves - 1)))
[ $failed -eq 0 ] && echo "every jersey of $writers writers x $installs installs arrived"
exit $failed
