#!/usr/bin/env bash
# Checks the portable tarball: what it holds; that its kitloom-cli needs only the C library,
# and none newer than glibc 2.36; and that install.sh (run by /bin/sh) installs it for the
# user alone in a temporary HOME, once with XDG_DATA_HOME set and once without, runs, and that
# --uninstall leaves the home folder as it found it.
# Usage: check-portable.sh kitloom-cli-VERSION-linux-ARCH.tar.gz
set -uo pipefail
tarball=${1:?usage: check-portable.sh TARBALL.tar.gz}
. "$(dirname "$0")/checks.sh"

name=$(basename "$tarball" .tar.gz)
tar -tzf "$tarball" >"$work/entries"
for file in install.sh bin/kitloom-cli share/man/man1/kitloom-cli.1.gz share/bash-completion/completions/kitloom-cli \
  share/zsh/site-functions/_kitloom-cli share/fish/vendor_completions.d/kitloom-cli.fish \
  share/applications/kitloom-cli-install.desktop share/mime/packages/kitloom-cli.xml LICENSE THIRD-PARTY-NOTICES.txt \
  README.txt; do
  check "the tarball holds $name/$file" grep -qx "$name/$file" "$work/entries"
done
tar -xzf "$tarball" -C "$work"
package=$work/$name
program=$package/bin/kitloom-cli

check "kitloom-cli needs only the C library, libm and the loader" bash -c "
  objdump -p '$program' | awk '/NEEDED/ {print \$2}' | grep -vxE 'libc\.so\.6|libm\.so\.6|ld-linux-x86-64\.so\.2' |
    { ! grep . ; }"
newest=$(objdump -T "$program" | grep -o 'GLIBC_[0-9.]*' | sed 's/GLIBC_//' | sort -uV | tail -n 1)
echo "kitloom-cli needs glibc $newest or newer"
check "kitloom-cli asks for no glibc newer than 2.36" test "$(printf '%s\n' "$newest" 2.36 | sort -V | tail -n 1)" = 2.36

# Everything under the given folders, with each file's bytes: the state install.sh must leave.
state() { find "$@" -print0 | LC_ALL=C sort -z | xargs -0 -I{} sh -c '[ -f "$1" ] && cksum <"$1" | sed "s|^|$1 |" || echo "$1"' - {}; }

scenario() { # scenario WHAT DATA_HOME (empty: unset) PATH_HAS_BIN
  local what=$1 data=$2 on_path=$3
  local home="$work/$what/home of a player"
  mkdir -p "$home/.local/bin" "$home/.config"
  echo "someone else's" >"$home/.local/bin/other-tool"
  local share=${data:-$home/.local/share}
  mkdir -p "$share/applications"
  printf '[Desktop Entry]\nType=Application\nName=Other\nExec=other-tool %%f\nMimeType=text/x-other;\n' \
    >"$share/applications/other.desktop"
  local path=/usr/bin:/bin
  [ "$on_path" = yes ] && path=$home/.local/bin:$path
  local run=(env -i "HOME=$home" "PATH=$path")
  [ -n "$data" ] && run+=("XDG_DATA_HOME=$data")
  state "$work/$what" >"$work/before"

  check "$what: install.sh installs" "${run[@]}" /bin/sh "$package/install.sh"
  cp "$work/log" "$work/install.log"
  check "$what: install.sh says whether ~/.local/bin is on PATH" \
    grep -q "$([ "$on_path" = yes ] && echo 'is on your PATH' || echo 'is not on your PATH')" "$work/install.log"
  check "$what: the installed kitloom-cli runs" bash -c "'$home/.local/bin/kitloom-cli' --version | grep -qx 'kitloom-cli [0-9.]*'"
  for file in man/man1/kitloom-cli.1.gz bash-completion/completions/kitloom-cli zsh/site-functions/_kitloom-cli \
    fish/vendor_completions.d/kitloom-cli.fish mime/packages/kitloom-cli.xml applications/kitloom-cli-install.desktop; do
    check "$what: installed $file" test -f "$share/$file"
  done
  check "$what: the installed file action runs the installed program" bash -c "
    grep -qxF 'Exec=\"$home/.local/bin/kitloom-cli\" install --notify %F' '$share/applications/kitloom-cli-install.desktop' &&
    desktop-file-validate '$share/applications/kitloom-cli-install.desktop'"
  if command -v update-mime-database >/dev/null; then
    check "$what: the file type is in the user's MIME database" grep -q 'application/x-kitloom-patch' "$share/mime/globs2"
  fi
  check "$what: installing again works" "${run[@]}" /bin/sh "$package/install.sh"
  check "$what: --uninstall" "${run[@]}" /bin/sh "$package/install.sh" --uninstall
  # Installed again, then taken out by the copy the install keeps, the unpacked folder gone.
  check "$what: installing after an uninstall works" "${run[@]}" /bin/sh "$package/install.sh"
  cp "$work/log" "$work/reinstall.log"
  check "$what: the install says how to uninstall" grep -qxF "To remove it all: sh $share/kitloom-cli/uninstall.sh" \
    "$work/reinstall.log"
  mv "$package" "$package.away"
  check "$what: the installed uninstall.sh uninstalls" "${run[@]}" /bin/sh "$share/kitloom-cli/uninstall.sh"
  mv "$package.away" "$package"
  # The file actions' cache keeps other programs' entries, and loses kitloom-cli's.
  if command -v update-desktop-database >/dev/null; then
    check "$what: mimeinfo.cache keeps the other program's entry" \
      grep -qx 'text/x-other=other.desktop;' "$share/applications/mimeinfo.cache"
    check "$what: mimeinfo.cache no longer names kitloom-cli" \
      bash -c "! grep -q kitloom '$share/applications/mimeinfo.cache'"
  fi
  state "$work/$what" | grep -v '/applications/mimeinfo.cache' >"$work/after"
  grep -v '/applications/mimeinfo.cache' "$work/before" >"$work/before.kept"
  check "$what: --uninstall leaves the home folder as it was, the desktop's cache brought up to date" \
    diff "$work/before.kept" "$work/after"
}
scenario default-data-home "" no
scenario data-home-set "$work/data-home-set/data" yes

echo "portable: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
