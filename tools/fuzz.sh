#!/usr/bin/env bash
# Fuzzes with libFuzzer, AddressSanitizer and UBSan: tools/fuzz.sh [TARGET] [RUNS] [FLAGS...]
# TARGET is reader (the patch reader), install (installPatch over a game in memory),
# append (appendJersey over arbitrary table bytes), vdf (the reader of Steam's
# libraryfolders.vdf), zip (the zip reader, every entry read), zipinstall (a downloaded zip
# installed into a game in memory, as kitloom-cli does) or all (the default); RUNS
# defaults to one million per target (-1: no limit, for a time limit among the FLAGS, which
# go to libFuzzer as they are: tools/fuzz.sh all -1 -max_total_time=60). Each target runs on
# one core, on a fresh copy of its seed corpus in build/fuzz/NAME-corpus; a failing input is
# saved as build/fuzz/NAME-crash-* (or -leak-, -oom-, -timeout-). The programs come from the
# fuzz preset, which links the same libraries as every other build.
set -euo pipefail
cd "$(dirname "$0")/.."
which=${1:-all}
runs=${2:-1000000}
shift $(($# < 2 ? $# : 2))
out=build/fuzz

case $which in
  reader|install|append|vdf|zip|zipinstall|all) ;;
  *) echo "usage: tools/fuzz.sh [reader|install|append|vdf|zip|zipinstall|all] [RUNS] [LIBFUZZER FLAGS...]" >&2; exit 2 ;;
esac

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

fuzz() { # NAME SEEDS MAX_LEN [FLAGS...]
  local name=$1 seeds=$2 max_len=$3
  shift 3
  rm -rf "$out/$name-corpus"
  mkdir -p "$out/$name-corpus"
  cp "$seeds"/* "$out/$name-corpus/"
  echo "== $name: $out/${name}_fuzz, $runs runs"
  "$out/${name}_fuzz" -runs="$runs" -max_len="$max_len" -artifact_prefix="$out/$name-" "$@" "$out/$name-corpus"
}

# A patch reader looks at no more than 480 bytes of lines and the 39-byte trailer: longer
# patches only dilute the mutations.
case $which in reader|all) fuzz patch_reader tests/fuzz/corpus 640 "$@" ;; esac
case $which in install|all) fuzz patch_install tests/fuzz/corpus 640 "$@" ;; esac
case $which in append|all) fuzz table_append tests/fuzz/table-corpus 2048 "$@" ;; esac
case $which in vdf|all) fuzz steam_libraries tests/fuzz/vdf-corpus 4096 "$@" ;; esac
# The seed archives take about a kilobyte; a few more leave room for further entries.
case $which in zip|all) fuzz zip_reader tests/fuzz/zip-corpus 4096 "$@" ;; esac
# The install's seeds: the reader's, and packs whose patches are whole, so that some go in.
if [ "$which" = zipinstall ] || [ "$which" = all ]; then
  mkdir -p "$out/zipinstall-seeds"
  cp tests/fuzz/zip-corpus/* tests/fuzz/zip-install-corpus/* "$out/zipinstall-seeds/"
  fuzz zip_install "$out/zipinstall-seeds" 4096 "$@"
fi
