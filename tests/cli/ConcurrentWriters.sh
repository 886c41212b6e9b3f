#!/usr/bin/env bash
# Four kitloom-cli processes install 25 patches each at the same time, first all into one
# save folder, then each into a sweep of five: every table must end with its count
# matching its size and every jersey that was reported installed (--again: each install
# adds). Then all four install one jersey 25 times without --again: it goes in once.
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
# The journal goes to the test's folder, never the user's.
export XDG_STATE_HOME=$game/state

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

# Each writer's jersey name; all writers install one and the same when they install once.
jersey() { if [ "$mode" = once ]; then echo WR0Z; else echo "WR${1}Z"; fi; }

failed=0
fail() { echo "FAIL: $*"; failed=1; }

run() { # once|again SLOT_LINE TABLES...
  local mode=$1 slot=$2
  shift 2
  local again=() per_writer=$installs
  [ "$mode" = again ] && again=(--again)
  [ "$mode" = once ] && per_writer=1
  rm -rf "$game"/saves "$game"/*.jer "$game"/*.out
  for folder in "$@"; do
    mkdir -p "$game/saves/$folder"
    table $start >"$game/saves/$folder/teamgear.dbf"
  done
  local pids=()
  for ((w = 1; w <= writers; w++)); do
    patch "$slot" "$(jersey $w)" >"$game/w$w.jer"
    local args=()
    for ((i = 0; i < installs; i++)); do args+=("w$w.jer"); done
    # Relative names from inside the game folder, so that no path needs translating.
    (cd "$game" && $emulator "$program" install "${args[@]}" --art art "${again[@]}" >"w$w.out" 2>&1) &
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
    local added=$((writers * installs))
    [ "$mode" = once ] && added=1
    [ "$count" -eq $((start + added)) ] || fail "saves/$folder: count $count ($mode)"
    [ "$size" -eq "$expected" ] || fail "saves/$folder: $size bytes for count $count"
    for ((w = 1; w <= writers; w++)); do
      local found
      found=$(grep -a -o "$(jersey $w)" "$file" | wc -l)
      [ "$found" -eq $per_writer ] || fail "saves/$folder: $found jerseys of writer $w ($mode)"
    done
  done
}

run again 000 000
run again "" $(seq -f %03g 0 $((saves - 1)))
run once "" $(seq -f %03g 0 $((saves - 1)))

# Every writer's job is in the journal, whole, under a number of its own (a Windows build
# keeps its journal in the prefix's profile).
journal=$XDG_STATE_HOME/kitloom/journal.jsonl
if [ -z "$emulator" ]; then
  # A job that changed nothing leaves no record: in the last run only the writers that
  # put the one jersey into some save.
  starts=$(grep -c '"event":"start"' "$journal")
  ends=$(grep -c '"event":"end","succeeded":true' "$journal")
  [ "$starts" -gt $((2 * writers)) ] && [ "$starts" -le $((3 * writers)) ] ||
    fail "the journal holds $starts jobs, wanted $((2 * writers + 1)) to $((3 * writers))"
  [ "$ends" -eq "$starts" ] || fail "the journal ends $ends jobs of $starts"
  twice=$(grep -o '"job":[0-9]*,"event":"start"' "$journal" | sort | uniq -d)
  [ -z "$twice" ] || fail "job numbers taken twice: $twice"
  [ "$(grep -vc '^{.*}$' "$journal")" -eq 0 ] || fail "lines run into each other in $journal"
fi
[ $failed -eq 0 ] && echo "every jersey of $writers writers x $installs installs arrived"
exit $failed
