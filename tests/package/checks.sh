# Sourced by the package checks: a temporary folder `work`, removed on exit, and
# `check WHAT COMMAND...`, which counts COMMAND's outcome in `passed` or `failed` and shows a
# failure's output.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
check() { # check WHAT COMMAND...
  local what=$1; shift
  if "$@" >"$work/log" 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $what"
    cat "$work/log"
  fi
}
