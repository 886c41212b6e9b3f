#!/usr/bin/env bash
# Runs a Windows program under Wine with a private prefix inside the build folder, with the
# Wine loader that fits the program: 64-bit programs under wine64 in a 64-bit prefix, 32-bit
# ones under the 32-bit loader. KITLOOM_WINEPREFIX overrides the prefix; otherwise it is
# <current build folder>/wineprefix, found by walking up from the working folder to the
# folder holding CMakeCache.txt.
#   wine-run.sh PROGRAM.exe [ARGUMENTS...]   run a program
#   wine-run.sh --prepare PROGRAM.exe        only make the prefix that PROGRAM runs in
#   wine-run.sh --hold PROGRAM.exe           make it and keep its Wine server running, until
#   wine-run.sh --release PROGRAM.exe        ends that server
#   wine-run.sh --server-wait PROGRAM.exe    wait until the prefix's Wine server has ended
set -euo pipefail

say() { echo "wine-run: $*" >&2; }

action=run
case "${1:-}" in
  --prepare | --hold | --release | --server-wait) action=${1#--}; shift ;;
esac
program=${1:?usage: wine-run.sh [--prepare|--hold|--release|--server-wait] PROGRAM.exe [ARGUMENTS...]}

if [ -z "${KITLOOM_WINEPREFIX:-}" ]; then
  dir=$PWD
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  [ -f "$dir/CMakeCache.txt" ] || { say "no build folder above $PWD"; exit 2; }
  KITLOOM_WINEPREFIX=$dir/wineprefix
fi

# The PE header's machine field: 0x8664 is x86-64, 0x014c is i386.
pe_machine() {
  local header
  header=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ') || return 1
  [ -n "$header" ] || return 1
  od -An -tx2 -j$((header + 4)) -N2 "$1" 2>/dev/null | tr -d ' '
}
[ -f "$program" ] || { say "no such program: $program"; exit 2; }
case "$(pe_machine "$program")" in
  8664)
    export WINEARCH=win64
    loader=/usr/lib/wine/wine64 ;;
  014c)
    export WINEARCH=win32
    loader=/usr/lib/wine/wine ;;
  *)
    say "$program is not a 32-bit or 64-bit Windows program"; exit 2 ;;
esac
# Debian's /usr/bin/wine picks the 32-bit loader whenever wine32 is installed, even where the
# machine cannot run it: name the loader, for Wine's own helpers too.
export WINELOADER=$loader
[ -x "$loader" ] || { say "$WINEARCH programs need $loader, which is not installed"; exit 3; }

export WINEPREFIX=$KITLOOM_WINEPREFIX
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

case $action in
  server-wait) exec wineserver -w ;;
  release) wineserver -k 2>/dev/null; exit 0 ;;
esac

# Several tests may start at once: only one creates the prefix. A prefix that could not be
# made is reported with Wine's own words, and every later run says so too.
mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/.kitloom-ready" ]; then
    rm -rf "$WINEPREFIX"
    log=$WINEPREFIX.log
    status=0
    # Wine's background processes must not inherit the lock: a run killed meanwhile would
    # leave them holding it, and every later run waiting for it.
    "$loader" wineboot -i >"$log" 2>&1 9>&- || status=$?
    wineserver -w >>"$log" 2>&1 9>&- || true
    if [ "$status" -ne 0 ] || [ ! -f "$WINEPREFIX/system.reg" ]; then
      say "Wine could not start ($loader, exit status $status); it said:"
      tail -n 20 "$log" >&2
      [ "$status" -ne 126 ] || say "(126: this machine cannot run $WINEARCH programs' Linux side)"
      exit 3
    fi
    # Unmanaged windows: no window manager runs under the tests, and managed ones make Wine
    # wait on every hide. A desktop session asks for managed ones (KITLOOM_WINE_MANAGED=1).
    if [ -z "${KITLOOM_WINE_MANAGED:-}" ]; then
      "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$log" 2>&1 9>&-
      "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >>"$log" 2>&1 9>&-
    fi
    wineserver -w 9>&-
    touch "$WINEPREFIX/.kitloom-ready"
  fi
) 9>"$WINEPREFIX.lock"

# A server that quits between two tests races the next one's start (Wine then fails to
# start a process now and then): a test run holds one server for its whole length. One
# that is already running was started for a few seconds only, so it is waited out first.
if [ "$action" = hold ]; then
  wineserver -w
  wineserver -p </dev/null >/dev/null 2>&1
  exit 0
fi
[ "$action" = run ] || exit 0

# Debian's wineserver quits the moment its last client does; a test starting just then
# loses its connection. Keep it a few seconds between tests (and away from our pipes).
wineserver -p3 </dev/null >/dev/null 2>&1 || true

# Wine's background processes (services, explorer) start with the first program of a session
# and inherit its output: on pipes they would hold a test's output open until the session
# ends, and the test with them. Files let go the moment the program ends.
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
status=0
"$loader" "$@" >"$out" 2>"$err" || status=$?
cat "$out"
cat "$err" >&2
exit "$status"
