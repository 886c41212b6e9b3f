#!/usr/bin/env bash
# Builds the players' zip and setup program and the Linux tarball twice, each in a fresh clone of the last
# commit in a folder of another name, and compares them: anyone can rebuild a release and get
# the same bytes. Uncommitted changes take no part. Exits non-zero when the builds differ.
set -euo pipefail
cd "$(dirname "$0")/.."
source=$PWD
commit=$(git rev-parse HEAD)
work=$(mktemp -d "${TMPDIR:-/tmp}/kitloom-reproducible-XXXXXX")
trap 'rm -rf "$work"' EXIT
# Both builds date the zip's entries by the commit, not by anything set here.
unset SOURCE_DATE_EPOCH

build() { # FOLDER
  echo "== building $commit in $1"
  git clone -q "$source" "$1"
  git -C "$1" checkout -q --detach "$commit"
  (cd "$1" && cmake --preset windows >/dev/null && cmake --build --preset windows -j2 --target package >/dev/null)
  (cd "$1" && cmake --preset deb >/dev/null && cmake --build --preset deb --target portable >/dev/null)
}
first=$work/one
second=$work/a-second-clone-elsewhere
build "$first"
build "$second"

status=0
tarball=deb/$(cd "$first/build/deb" && ls kitloom-cli-*-linux-*.tar.gz)
setup=windows/$(cd "$first/build/windows" && ls kitloom-setup-*.exe)
for file in windows/SHA256SUMS.txt windows/kitloom.exe windows/kitloom-cli.exe "$setup" "$tarball"; do
  a=$(sha256sum <"$first/build/$file")
  b=$(sha256sum <"$second/build/$file")
  if [ "$a" = "$b" ]; then
    echo "same:   $file"
  else
    echo "differ: $file"
    status=1
  fi
done
echo "-- $first/build/windows/SHA256SUMS.txt"
cat "$first/build/windows/SHA256SUMS.txt"
echo "-- $second/build/windows/SHA256SUMS.txt"
cat "$second/build/windows/SHA256SUMS.txt"
ls -l "$first"/build/windows/kitloom.exe "$first"/build/windows/kitloom-cli.exe "$first"/build/windows/*.zip \
  "$first/build/$setup" \
  "$first/build/$tarball"
sha256sum "$first/build/$tarball" "$second/build/$tarball"
if [ $status -eq 0 ]; then
  echo "reproducible: two clones of $commit built byte-identical programs, zip, setup and tarball"
else
  echo "NOT reproducible: the builds above differ" >&2
fi
exit $status
