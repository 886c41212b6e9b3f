#!/usr/bin/env bash
# Fuzzes the patch reader with libFuzzer: tools/fuzz.sh [RUNS] (default one million).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-1000000}
out=build/fuzz
mkdir -p "$out/corpus"
cp tests/fuzz/corpus/* "$out/corpus/"
clang++ -std=c++20 -O1 -g -I. -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  patch/PatchFormat.cpp tests/fuzz/PatchReaderFuzz.cpp -o "$out/patch_reader_fuzz"
"$out/patch_reader_fuzz" -runs="$runs" -max_len=1024 "$out/corpus"
