#!/usr/bin/env bash
# Builds kitloom-cli for release, with libstdc++ and libgcc linked in, and makes the tarball
# for the Linux systems that take no .deb (SteamOS, Arch, Fedora and others): the program, its
# man page and completions, the file type and file action, the license and notices, and
# install.sh, which installs them for the user alone. Checks the tarball
# (tests/package/check-portable.sh), then prints its path as its last line. Installs what it
# needs to build first, when missing.
set -euo pipefail
cd "$(dirname "$0")/.."

. scripts/need-packages.sh
need cmake command -v cmake
need g++ command -v g++
need make command -v make
need python3 command -v python3
need binutils command -v objdump
need libcli11-dev test -f /usr/include/CLI/CLI.hpp
need nlohmann-json3-dev test -f /usr/include/nlohmann/json.hpp
need libyaml-cpp-dev test -f /usr/lib/x86_64-linux-gnu/libyaml-cpp.a
need zlib1g-dev test -f /usr/lib/x86_64-linux-gnu/libz.a
need git command -v git
need help2man command -v help2man
need desktop-file-utils command -v desktop-file-validate
install_needed

cmake --preset deb >/dev/null
cmake --build --preset deb >/dev/null
tarball=$(cmake --build --preset deb --target portable | sed -n 's/^package: //p')
tests/package/check-portable.sh "$tarball"
echo "$tarball"
