#!/usr/bin/env bash
# Exits 0 when this machine runs 32-bit x86 Linux programs, as Wine's 32-bit loader needs;
# some kernels boot with that emulation off. KITLOOM_NO_32BIT=1 acts as on such a machine.
set -u
[ -z "${KITLOOM_NO_32BIT:-}" ] || exit 1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# The smallest program there is: exit(0) through the 32-bit system call gate.
printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' >"$tmp/exit0.s"
as --32 -o "$tmp/exit0.o" "$tmp/exit0.s" 2>/dev/null &&
  ld -m elf_i386 -o "$tmp/exit0" "$tmp/exit0.o" 2>/dev/null &&
  "$tmp/exit0" 2>/dev/null
