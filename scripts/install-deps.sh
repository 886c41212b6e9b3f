#!/usr/bin/env bash
# Installs what building and testing Kitloom needs on Debian 12, when it is missing; a fresh
# minbase root included. The 32-bit Wine loader is installed only where this machine runs
# 32-bit code: elsewhere the 64-bit Windows build is tested under 64-bit Wine alone. Where
# 32-bit Wine cannot be installed (a mirror that cannot serve i386 today, say), apt's last
# words go to build/wine32-install-failed.txt and the machine counts as one without 32-bit
# support (scripts/runs-32bit.sh says why); everything else must install.
set -euo pipefail
cd "$(dirname "$0")/.."

wine32_failure=build/wine32-install-failed.txt
apt_log=$(mktemp)
trap 'rm -f "$apt_log"' EXIT

missing=()
need() { # need PACKAGE TEST...
  local package=$1; shift
  "$@" >/dev/null 2>&1 || missing+=("$package")
}

# What apt's latest command ended with, on one line: its error lines, else its last line.
last_words() {
  { grep '^E: ' "$apt_log" || grep -v '^[[:space:]]*$' "$apt_log" | tail -n 1; } | paste -s -d ' '
}

# Calls apt-get by name, from PATH, so that a test can stand in for it.
update_words=
install_packages() {
  [ $# -gt 0 ] || return 0
  echo "Installing: $*"
  if [ "$(id -u)" -ne 0 ]; then
    echo "Run as root (or install these packages by hand): $*" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  # A failed update (a mirror in the middle of a sync, say) leaves the package lists as they
  # were: the install tries with those, and only its own failure counts.
  update_words=
  if ! apt-get update -q 2>&1 | tee "$apt_log"; then
    # Its first error names the index it could not read.
    update_words=$(grep -m 1 '^E: ' "$apt_log" || last_words)
    echo "apt-get update failed; installing from the package lists this machine already has." >&2
  fi
  apt-get install -y -q --no-install-recommends "$@" 2>&1 | tee "$apt_log"
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
# zlib inflates and deflates zip archives: the system's for Linux, a static one for Windows.
need zlib1g-dev test -f /usr/include/zlib.h
need libz-mingw-w64-dev test -f /usr/x86_64-w64-mingw32/include/zlib.h
# Lutris' game files are YAML; kitloom-cli links yaml-cpp's static archive.
need libyaml-cpp-dev test -f /usr/lib/x86_64-linux-gnu/libyaml-cpp.a
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
need clang-format-14 command -v clang-format-14
# The formatting check lists the tracked sources, and the packages and the players' zip are
# dated by the latest commit.
need git command -v git
# kitloom-cli's Linux packages: the man page, the .deb's computed dependencies (CPack picks the
# programs out with `file`, dpkg-shlibdeps reads their needs), lintian's check of the .deb, the
# shells that read its zsh and fish completions, and the checks of its desktop entry and of the
# tarball's install into the user's MIME database.
need help2man command -v help2man
need file command -v file
need dpkg-dev command -v dpkg-shlibdeps
need lintian command -v lintian
need zsh command -v zsh
need fish command -v fish
need desktop-file-utils command -v desktop-file-validate
need shared-mime-info command -v update-mime-database
# The Windows setup program, made with NSIS from the 32-bit build.
need nsis command -v makensis
install_packages $(printf '%s\n' "${missing[@]}" | sort -u)

if scripts/runs-32bit.sh >/dev/null; then
  # Installed: an older failure to install it says nothing any more.
  rm -f "$wine32_failure"
elif scripts/runs-32bit.sh --kernel >/dev/null; then
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  if install_packages wine32:i386; then
    rm -f "$wine32_failure"
  else
    reason="32-bit Wine (wine32:i386) could not be installed; apt-get said: $(last_words)"
    [ -z "$update_words" ] || reason+=" (after a failed apt-get update: $update_words)"
    mkdir -p "$(dirname "$wine32_failure")"
    echo "$reason" >"$wine32_failure"
    echo "$reason. This machine counts as one without 32-bit support: the 64-bit Windows build stands in." >&2
  fi
fi
