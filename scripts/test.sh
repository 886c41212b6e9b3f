#!/usr/bin/env bash
# Builds every preset and runs every test this machine can run: the formatting check, the
# native tests, the Linux packages and their checks, a short run of each fuzz target, then the
# 64-bit Windows build under 64-bit Wine, then the 32-bit Windows build (the one we ship),
# whose tests run where this machine runs 32-bit code and has 32-bit Wine
# (scripts/runs-32bit.sh).
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1

scripts/install-deps.sh || exit 1
mkdir -p build

status=0
failed() { echo "FAILED: $*"; status=1; }

build() { # PRESET
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j2
}
# Under load, Wine now and then fails to start a test's process: the test fails at once with
# no output at all (seen once in several full runs, each time a different test). Every
# failed Windows test runs once more, named, before it counts; one that fails again fails
# the run.
windows_tests() { # PRESET
  xvfb-run -a ctest --preset "$1" && return 0
  echo "Once more, the Windows tests that failed (Wine sometimes fails to start a process):"
  xvfb-run -a ctest --preset "$1" --rerun-failed --output-on-failure
}
package() { # PRESET: the players' zip
  cmake --build --preset "$1" --target package | grep 'package: ' || failed "$1 release archive"
}

# Every tracked .cpp and .h file; outside a git checkout, every one outside build/.
format_sources() {
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z -- '*.cpp' '*.h'
  else
    find . -path ./build -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print0
  fi
}

echo "== formatting (clang-format-14, .clang-format)"
format_log=build/clang-format.log
if format_sources | xargs -0 clang-format-14 --dry-run --Werror >"$format_log" 2>&1; then
  echo "Every .cpp and .h file is formatted as .clang-format says."
else
  unformatted=$(sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' "$format_log" | sort -u)
  if [ -n "$unformatted" ]; then
    echo "$unformatted"
    failed "formatting: the $(echo "$unformatted" | wc -l) files above differ from .clang-format" \
      "(clang-format-14 -i FILE formats one; clang-format-14's words: $format_log)"
  else
    tail -n 5 "$format_log"
    failed "formatting: clang-format-14 could not check the sources (its words: $format_log)"
  fi
fi

echo "== native build and tests"
if build native; then
  ctest --preset native || failed "native tests"
else
  failed "native build"
fi

echo "== Linux packages (the deb preset): the .deb, checked and linted, and the portable tarball"
packages_started=$SECONDS
scripts/package-deb.sh || failed "Debian package"
scripts/package-portable.sh || failed "portable tarball"
echo "The packages took $((SECONDS - packages_started)) s."

echo "== fuzz targets (libFuzzer, AddressSanitizer and UBSan; about 10 s each on its seed corpus)"
if build fuzz; then
  for target in reader install append vdf zip zipinstall; do
    log=build/fuzz/$target.log
    if tools/fuzz.sh "$target" -1 -max_total_time=10 >"$log" 2>&1; then
      echo "fuzz $target: $(grep -E '^#[0-9]+[[:space:]]+DONE' "$log")"
    else
      tail -n 40 "$log"
      failed "fuzz target $target (the input and its stack: above and in $log)"
    fi
  done
else
  failed "fuzz build"
fi

echo "== 64-bit Windows build and tests (under 64-bit Wine)"
if build windows64; then
  windows_tests windows64 || failed "64-bit Windows tests"
else
  failed "64-bit Windows build"
fi

echo "== 32-bit Windows build and tests (under Wine)"
if build windows; then
  package windows
  if why=$(scripts/runs-32bit.sh); then
    windows_tests windows || failed "32-bit Windows tests"
  else
    echo "32-bit Windows tests skipped: $why (the build above compiled)."
  fi
else
  failed "32-bit Windows build"
fi
exit $status
