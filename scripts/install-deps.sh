#!/usr/bin/env bash
# Installs what building and testing Kitloom needs on Debian 12, when it is missing; a fresh
# minbase root included. The 32-bit Wine loader is installed only where this machine runs
# 32-bit code: elsewhere the 64-bit Windows build is tested under 64-bit Wine alone.
set -euo pipefail
cd "$(dirname "$0")/.."

missing=()
need() { # need PACKAGE TEST...
  local package=$1; shift
  "$@" >/dev/null 2>&1 || missing+=("$package")
}

install_packages() {
  [ $# -gt 0 ] || return 0
  echo "Installing: $*"
  if [ "$(id -u)" -ne 0 ]; then
    echo "Run as root (or install these packages by hand): $*" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "$@"
}

need cmake command -v cmake
need make command -v make
need g++ command -v g++
need binutils command -v as
need python3 command -v python3
need libgtest-dev test -f /usr/include/gtest/gtest.h
need googletest test -f /usr/src/googletest/CMakeLists.txt
need libcli11-dev test -f /usr/include/CLI/CLI.hpp
need nlohmann-json3-dev test -f /usr/include/nlohmann/json.hpp
need g++-mingw-w64-i686-posix command -v i686-w64-mingw32-g++-posix
need g++-mingw-w64-x86-64-posix command -v x86_64-w64-mingw32-g++-posix
need wine64 test -x /usr/lib/wine/wine64
need wine command -v wineserver
need xvfb command -v Xvfb
need xvfb command -v xvfb-run
need xauth command -v xauth
need util-linux command -v flock
need fonts-wine test -d /usr/share/wine/fonts
# The fuzz preset: clang 14, and libFuzzer's runtime, which clang only recommends.
need clang-14 command -v clang++-14
need libclang-rt-14-dev compgen -G '/usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a'
install_packages $(printf '%s\n' "${missing[@]}" | sort -u)

if scripts/runs-32bit.sh; then
  if ! dpkg -s wine32:i386 >/dev/null 2>&1; then
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    install_packages wine32:i386
  fi
fi
