#!/usr/bin/env bash
# Builds kitloom-cli for release (no sanitizers) and packages it as a .deb with CPack: the
# program, its man page and its bash, zsh and fish completions (made from its own command-line
# definition), the *.jer file type and the "Install with Kitloom" file action, its copyright
# file and changelog. Checks the package (tests/package/check-deb.sh, lintian included), then
# prints the .deb's path as its last line. Installs what it needs to build and check it first,
# when missing.
set -euo pipefail
cd "$(dirname "$0")/.."

. scripts/need-packages.sh
need cmake command -v cmake
need g++ command -v g++
need make command -v make
need python3 command -v python3
need libcli11-dev test -f /usr/include/CLI/CLI.hpp
need nlohmann-json3-dev test -f /usr/include/nlohmann/json.hpp
need libyaml-cpp-dev test -f /usr/lib/x86_64-linux-gnu/libyaml-cpp.a
need zlib1g-dev test -f /usr/lib/x86_64-linux-gnu/libz.a
need git command -v git
need help2man command -v help2man
need file command -v file
need dpkg-dev command -v dpkg-shlibdeps
need lintian command -v lintian
need zsh command -v zsh
need fish command -v fish
need desktop-file-utils command -v desktop-file-validate
need shared-mime-info command -v update-mime-database
install_needed

cmake --preset deb >/dev/null
cmake --build --preset deb >/dev/null
deb=$(cd build/deb && cpack -G DEB | sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p')
tests/package/check-deb.sh "$deb"
echo "$deb"
