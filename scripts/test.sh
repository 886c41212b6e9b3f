#!/usr/bin/env bash
# Builds both presets and runs every test: natively, then the Windows build under Wine.
set -uo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh || exit 1

status=0
echo "== native build and tests"
if cmake --preset native >/dev/null && cmake --build --preset native -j2; then
  ctest --preset native || status=1
else
  status=1
fi

echo "== Windows build and tests (under Wine)"
if cmake --preset windows >/dev/null && cmake --build --preset windows -j2; then
  xvfb-run -a ctest --preset windows || status=1
else
  status=1
fi
exit $status
