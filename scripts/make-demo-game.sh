#!/usr/bin/env bash
# Makes a small game folder to try Kitloom in: saves 000 to 002 with team-gear tables of
# a few records, and a jersey patch with its two images.  Usage: make-demo-game.sh FOLDER
set -euo pipefail
game=${1:?usage: make-demo-game.sh FOLDER}
rm -rf "$game"
mkdir -p "$game"

# A team-gear table: a 386-byte header (version, date, record count little-endian,
# header and record sizes, field descriptors) and 29-byte records.
make_table() { # FILE RECORDS
  local file=$1 records=$2 i
  {
    printf '\x03\x7e\x0b\x1e'
    printf "\\x$(printf %02x "$records")\\x00\\x00\\x00"
    printf '\x82\x01\x1d\x00'
    head -c 20 /dev/zero
    head -c 353 /dev/zero | tr '\0' ' '
    printf '\x0d'
    for i in $(seq 1 "$records"); do
      printf ' 00%-3d%-2d0DEMO2000-01 2A 1000Z' "$i" "$i"
    done
  } > "$file"
}

for slot in 000 001 002; do
  mkdir -p "$game/saves/$slot"
  make_table "$game/saves/$slot/teamgear.dbf" 4
done

# The patch of team 5's "DEMO" jersey (prefix "dm"), with stand-ins for its two images.
printf 'demo jersey image\n' > "$game/dmDEMO.fsh"
printf 'demo number image\n' > "$game/dmDEMO_num.fsh"
{
  printf '\r\ndmDEMO.fsh\r\ndmDEMO_num.fsh\r\n'
  printf '\x05\x00\x00\x00\x02\x00\x00\x00DEMO2002-03'
  printf '\x04\x00\x00\x00\x09\x00\x00\x00\x01\x00\x00\x00\x01\x00\x00\x00\x01\x00\x00\x00'
} > "$game/demo.jer"
echo "Demo game folder: $game"
