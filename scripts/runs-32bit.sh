#!/usr/bin/env bash
# Exits 0 when this machine can run the 32-bit Windows build under Wine: its kernel runs
# 32-bit x86 Linux programs (some boot with that emulation off) and 32-bit Wine (wine32:i386)
# is installed. Otherwise exits 1 and prints one line saying why. KITLOOM_NO_32BIT=1 acts as
# on a machine without 32-bit support.
#   runs-32bit.sh            the whole check
#   runs-32bit.sh --kernel   only whether the kernel runs 32-bit code (is wine32 worth installing?)
# The verdict is worked out afresh each time from the machine itself; the file that
# install-deps.sh leaves when wine32 could not be installed only supplies apt's words.
# Test hooks, for checking the 64-bit fallback on any machine (never set them otherwise):
#   KITLOOM_TEST_PRETEND_NO_WINE32=1       wine32 counts as not installed
#   KITLOOM_TEST_PRETEND_32BIT_KERNEL=1    the kernel counts as running 32-bit code
set -u
cd "$(dirname "$0")/.." || exit 1
wine32_failure=build/wine32-install-failed.txt

if [ -n "${KITLOOM_NO_32BIT:-}" ]; then
  echo "KITLOOM_NO_32BIT is set"
  exit 1
fi

kernel_runs_32bit() {
  [ -z "${KITLOOM_TEST_PRETEND_32BIT_KERNEL:-}" ] || return 0
  local tmp status
  tmp=$(mktemp -d)
  # The smallest program there is: exit(0) through the 32-bit system call gate.
  # shellcheck disable=SC2016
  printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' >"$tmp/exit0.s"
  as --32 -o "$tmp/exit0.o" "$tmp/exit0.s" 2>/dev/null &&
    ld -m elf_i386 -o "$tmp/exit0" "$tmp/exit0.o" 2>/dev/null &&
    "$tmp/exit0" 2>/dev/null
  status=$?
  rm -rf "$tmp"
  return $status
}
if ! kernel_runs_32bit; then
  echo "this machine runs no 32-bit code, so Wine's 32-bit loader cannot start"
  exit 1
fi
[ "${1:-}" != --kernel ] || exit 0

wine32_installed() {
  [ -z "${KITLOOM_TEST_PRETEND_NO_WINE32:-}" ] &&
    [ "$(dpkg-query -W -f='${db:Status-Status}' wine32:i386 2>/dev/null)" = installed ]
}
if ! wine32_installed; then
  if [ -s "$wine32_failure" ]; then
    head -n 1 "$wine32_failure"
  else
    echo "32-bit Wine (wine32:i386) is not installed (scripts/install-deps.sh installs it)"
  fi
  exit 1
fi
