#!/usr/bin/env bash
# Checks a kitloom-cli .deb without installing it: its files, its computed Depends, its
# desktop entry (desktop-file-validate) and MIME type, its man page, and that the packaged
# program runs.  Usage: check-deb.sh PACKAGE.deb
set -uo pipefail
deb=${1:?usage: check-deb.sh PACKAGE.deb}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
check() { # check WHAT COMMAND...
  local what=$1; shift
  if "$@" >"$work/log" 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $what"
    cat "$work/log"
  fi
}

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/files"
for file in /usr/bin/kitloom-cli /usr/share/man/man1/kitloom-cli.1.gz /usr/share/mime/packages/kitloom-cli.xml \
  /usr/share/applications/kitloom-cli-install.desktop; do
  check "the package holds $file" grep -qx "$file" "$work/files"
done
check "Depends is computed (libc6, libstdc++6)" bash -c "dpkg-deb -f '$deb' Depends | grep -q 'libc6' && dpkg-deb -f '$deb' Depends | grep -q 'libstdc++6'"

dpkg-deb -x "$deb" "$work/root"
desktop=$work/root/usr/share/applications/kitloom-cli-install.desktop
check "desktop-file-validate accepts the entry" desktop-file-validate "$desktop"
check "the entry opens the patch type with install --notify" \
  bash -c "grep -qx 'MimeType=application/x-kitloom-patch;' '$desktop' && grep -qx 'Exec=kitloom-cli install --notify %F' '$desktop'"
check "the MIME type is *.jer" grep -q '<glob pattern="\*.jer"/>' "$work/root/usr/share/mime/packages/kitloom-cli.xml"
check "the packaged program runs --version" bash -c "'$work/root/usr/bin/kitloom-cli' --version | grep -qx 'kitloom-cli [0-9.]*'"
check "the man page is the program's help" bash -c "zcat '$work/root/usr/share/man/man1/kitloom-cli.1.gz' | grep -q 'where' && zcat '$work/root/usr/share/man/man1/kitloom-cli.1.gz' | grep -q '^.TH KITLOOM-CLI \"1\"'"
echo "package: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
