#!/usr/bin/env bash
# Checks a kitloom-cli .deb without installing it: its files and control fields, its copyright
# file and changelog, its desktop entry (desktop-file-validate) and MIME type, its man page and
# completions (bash's run, zsh and fish read theirs), that the packaged program runs, and that
# lintian finds no error and no warning.  Usage: check-deb.sh PACKAGE.deb
set -uo pipefail
deb=${1:?usage: check-deb.sh PACKAGE.deb}
. "$(dirname "$0")/checks.sh"

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/files"
for file in /usr/bin/kitloom-cli /usr/share/man/man1/kitloom-cli.1.gz /usr/share/mime/packages/kitloom-cli.xml \
  /usr/share/applications/kitloom-cli-install.desktop /usr/share/doc/kitloom-cli/copyright \
  /usr/share/doc/kitloom-cli/changelog.Debian.gz /usr/share/doc/kitloom-cli/README \
  /usr/share/bash-completion/completions/kitloom-cli \
  /usr/share/zsh/vendor-completions/_kitloom-cli /usr/share/fish/vendor_completions.d/kitloom-cli.fish; do
  check "the package holds $file" grep -qx "$file" "$work/files"
done

field() { dpkg-deb -f "$deb" "$1"; }
check "Depends is computed (libc6, libstdc++6)" bash -c "dpkg-deb -f '$deb' Depends | grep -q 'libc6' && dpkg-deb -f '$deb' Depends | grep -q 'libstdc++6'"
check "the control fields: section, recommends, suggests" test \
  "$(field Section)|$(field Recommends)|$(field Suggests)" = "utils|libnotify-bin|zenity | kdialog"
# CPack once joined the description's lines with CMake's list separator.
check "the description has no list separators" bash -c "! dpkg-deb -f '$deb' Description | grep -q ';'"

dpkg-deb -x "$deb" "$work/root"
root=$work/root
check "the changelog's latest entry is this version" \
  bash -c "zcat '$root/usr/share/doc/kitloom-cli/changelog.Debian.gz' | head -n 1 | grep -q '^kitloom-cli ($(field Version)) '"
copyright=$root/usr/share/doc/kitloom-cli/copyright
check "the copyright file is machine-readable, with Kitloom's license and both libraries' notices" bash -c "
  grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' '$copyright' &&
  grep -qx 'Files: \*' '$copyright' && grep -qx 'Copyright: 2026 The Kitloom developers' '$copyright' &&
  grep -qx 'License: BSD-3-Clause' '$copyright' && grep -q 'Henry Schreiner' '$copyright' &&
  grep -q 'Niels Lohmann' '$copyright' && [ \$(grep -cx 'License: Expat' '$copyright') -eq 2 ]"

desktop=$root/usr/share/applications/kitloom-cli-install.desktop
check "desktop-file-validate accepts the entry" desktop-file-validate "$desktop"
check "the entry opens the patch type with install --notify, with no terminal" \
  bash -c "grep -qx 'MimeType=application/x-kitloom-patch;application/zip;' '$desktop' &&
           grep -qx 'Exec=kitloom-cli install --notify %F' '$desktop' && grep -qx 'Terminal=false' '$desktop'"
check "the MIME type is *.jer" grep -q '<glob pattern="\*.jer"/>' "$root/usr/share/mime/packages/kitloom-cli.xml"
version=$("$root/usr/bin/kitloom-cli" --version)
check "the packaged program runs --version" grep -qx 'kitloom-cli [0-9.]*' <<<"$version"
check "the package's version is the program's with a Debian revision" grep -qx "${version#kitloom-cli }-[1-9][0-9]*" \
  <<<"$(field Version)"

zcat "$root/usr/share/man/man1/kitloom-cli.1.gz" >"$work/kitloom-cli.1"
check "the man page has every section" bash -c "for section in NAME SYNOPSIS DESCRIPTION OPTIONS COMMANDS \
  '\"EXIT STATUS\"' ENVIRONMENT FILES EXAMPLES; do grep -qx \".SH \$section\" '$work/kitloom-cli.1' || exit 1; done"
check "the man page describes each command with its options" bash -c "
  for command in add make-patch install remove show list; do
    grep -q \"^.SS \\\"kitloom-cli \$command \" '$work/kitloom-cli.1' || exit 1
  done
  grep -q 'accessory' '$work/kitloom-cli.1' && grep -q 'kitloom/game' '$work/kitloom-cli.1'"

# The bash completion, as bash calls it: COMP_WORDS and COMP_CWORD set, COMPREPLY read back.
completes() { # completes EXPECTED WORD...: the replies to the command line WORD..., one a line
  local expected=$1; shift
  local replies
  replies=$(bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _kitloom_cli
                     printf "%s\n" "${COMPREPLY[@]}"' - "$root/usr/share/bash-completion/completions/kitloom-cli" "$@")
  [ "$replies" = "$expected" ] || { echo "expected: $expected"; echo "got: $replies"; return 1; }
}
check "bash completes a command" completes install kitloom-cli ins
check "bash completes a list value with a space, quoted" completes 'Royal\ Blue' kitloom-cli add --accessory ro
check "bash completes a list value after --option=" completes $'Dark\\ Green\nDark\\ Red\nDark\\ Purple\nDark\\ Yellow' \
  kitloom-cli make-patch --accessory = da
check "bash completes only options not given yet" completes $'--no-journal\n--neck' kitloom-cli add --name AB --n
check "zsh reads its completion" zsh -n "$root/usr/share/zsh/vendor-completions/_kitloom-cli"
check "fish reads its completion" fish -n "$root/usr/share/fish/vendor_completions.d/kitloom-cli.fish"

# Its overrides show too, each with the reason the package gives. A lintian that is missing or
# could not run (exit status 2) fails the check as surely as an E: or W: line does.
lintian --show-overrides "$deb" >"$work/lintian" 2>&1
lintian_status=$?
grep -v 'running with root privileges' "$work/lintian" | sed 's/^/lintian: /'
check "lintian ran, and finds no error and no warning" \
  bash -c "[ $lintian_status -le 1 ] && ! grep -q '^[EW]: ' '$work/lintian'"
echo "package: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
