#!/usr/bin/env bash
# Installs what building and testing Kitloom needs on Debian 12, when it is missing.
set -euo pipefail

missing=()
need() { # need PACKAGE TEST...
  local package=$1; shift
  "$@" >/dev/null 2>&1 || missing+=("$package")
}
need cmake command -v cmake
need g++ command -v g++
need libgtest-dev test -f /usr/include/gtest/gtest.h
need googletest test -f /usr/src/googletest/CMakeLists.txt
need g++-mingw-w64-i686 command -v i686-w64-mingw32-g++-posix
need wine command -v wine
need wine32:i386 dpkg -s wine32:i386
need xvfb command -v xvfb-run
need xauth command -v xauth
need util-linux command -v flock
need fonts-wine test -d /usr/share/wine/fonts

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "Installing: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "Run as root (or install these packages by hand): ${missing[*]}" >&2
  exit 1
fi
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
