#!/usr/bin/env bash
# Fuzzes with libFuzzer, AddressSanitizer and UBSan: tools/fuzz.sh [TARGET] [RUNS]
# TARGET is reader (the patch reader), install (installPatch over a game in memory),
# append (appendJersey over arbitrary table bytes) or all (the default); RUNS defaults
# to one million per target. Each target runs on one core.
set -euo pipefail
cd "$(dirname "$0")/.."
which=${1:-all}
runs=${2:-1000000}
out=build/fuzz
core="core/GamePaths.cpp core/TeamGearFile.cpp core/TeamGearTable.cpp"
patch="patch/PatchFormat.cpp patch/PatchReader.cpp patch/PatchInstaller.cpp"

fuzz() { # NAME SOURCES SEEDS MAX_LEN
  local name=$1 sources=$2 seeds=$3 max_len=$4
  mkdir -p "$out/$name-corpus"
  cp "$seeds"/* "$out/$name-corpus/"
  # shellcheck disable=SC2086
  clang++ -std=c++20 -O1 -g -I. -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    $sources -o "$out/${name}_fuzz"
  "$out/${name}_fuzz" -runs="$runs" -max_len="$max_len" "$out/$name-corpus"
}

mkdir -p "$out"
case $which in
  reader|all) fuzz patch_reader "patch/PatchFormat.cpp tests/fuzz/PatchReaderFuzz.cpp" tests/fuzz/corpus 1024 ;;&
  install|all) fuzz patch_install "$core $patch tests/support/MemoryFileSystem.cpp tests/fuzz/PatchInstallFuzz.cpp" \
                 tests/fuzz/corpus 1024 ;;&
  append|all) fuzz table_append "$core tests/support/MemoryFileSystem.cpp tests/fuzz/TableAppendFuzz.cpp" \
                tests/fuzz/table-corpus 2048 ;;&
  reader|install|append|all) ;;
  *) echo "usage: tools/fuzz.sh [reader|install|append|all] [RUNS]" >&2; exit 2 ;;
esac
