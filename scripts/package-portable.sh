#!/usr/bin/env bash
# Builds kitloom-cli for release, with libstdc++ and libgcc linked in, and makes the tarball
# for the Linux systems that take no .deb (SteamOS, Arch, Fedora and others): the program, its
# man page and completions, the file type and file action, the license and notices, and
# install.sh, which installs them for the user alone. Checks the tarball
# (tests/package/check-portable.sh), then prints its path as its last line. Installs what it
# needs to build first, when missing.
set -euo pipefail
cd "$(dirname "$0")/.."

missing=()
need() { # need PACKAGE TEST...
  local package=$1; shift
  "$@" >/dev/null 2>&1 || missing+=("$package")
}
need cmake command -v cmake
need g++ command -v g++
need make command -v make
need python3 command -v python3
need binutils command -v objdump
need libcli11-dev test -f /usr/include/CLI/CLI.hpp
need nlohmann-json3-dev test -f /usr/include/nlohmann/json.hpp
need help2man command -v help2man
need desktop-file-utils command -v desktop-file-validate
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "Run as root (or install these packages by hand): ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q || echo "apt-get update failed; installing from the package lists this machine already has." >&2
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

cmake --preset deb >/dev/null
cmake --build --preset deb >/dev/null
tarball=$(cmake --build --preset deb --target portable | sed -n 's/^package: //p')
tests/package/check-portable.sh "$tarball"
echo "$tarball"
