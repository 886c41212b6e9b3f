#!/bin/sh
# Installs kitloom-cli for you alone: no root, and nothing outside your home folder. The
# program goes into ~/.local/bin; its man page, its completions for bash, zsh and fish, the
# .jer file type and the "Install with Kitloom" file action go under $XDG_DATA_HOME
# (~/.local/share when it is not set).
#
#   ./install.sh               install (again: what an earlier install placed is replaced)
#   ./install.sh --uninstall   remove exactly what the install placed
# The install keeps a copy of this script as $XDG_DATA_HOME/kitloom-cli/uninstall.sh, which
# uninstalls when run by that name, once the unpacked folder is gone too.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
self=$here/$(basename "$0")
bin_dir=$HOME/.local/bin
data_dir=${XDG_DATA_HOME:-}
case $data_dir in
/*) ;;
*) data_dir=$HOME/.local/share ;; # unset, empty or relative: the default, as the XDG rules say
esac
bash_dir=${BASH_COMPLETION_USER_DIR:-$data_dir/bash-completion}/completions
zsh_dir=$data_dir/zsh/site-functions
# Every file and folder the install placed or brought into being, one a line, in order.
record=$data_dir/kitloom-cli/installed
uninstaller=$data_dir/kitloom-cli/uninstall.sh

usage() {
    echo "usage: $0 [--uninstall]"
}

placed=
place() { # PATH: one more line for the record
    placed="$placed$1
"
}

# The record is written however the install ends, so that --uninstall can take back even
# what a failed install placed.
write_record() {
    [ -n "$placed" ] || return 0
    mkdir -p "$(dirname "$record")"
    printf '%s' "$placed" >>"$record"
}

folder() { # FOLDER: made with each missing parent, each one recorded
    [ -d "$1" ] && return 0
    folder "$(dirname "$1")"
    mkdir "$1"
    place "$1"
}

put() { # SOURCE DESTINATION MODE
    folder "$(dirname "$2")"
    cp "$1" "$2"
    chmod "$3" "$2"
    place "$2"
    echo "placed $2"
}

# The desktop entry runs the program by its full path: a desktop session may not have
# ~/.local/bin on its PATH. A path with characters the entry's Exec key reserves is quoted.
put_desktop_entry() { # SOURCE DESTINATION
    program=$bin_dir/kitloom-cli
    case $program in
    *[!A-Za-z0-9/._+-]*)
        program=\"$(printf '%s' "$program" | sed -e 's/\\/\\\\\\\\/g' -e 's/["`$]/\\&/g')\"
        ;;
    esac
    folder "$(dirname "$2")"
    while IFS= read -r line; do
        case $line in
        "Exec=kitloom-cli "*) printf 'Exec=%s %s\n' "$program" "${line#Exec=kitloom-cli }" ;;
        *) printf '%s\n' "$line" ;;
        esac
    done <"$1" >"$2"
    chmod 644 "$2"
    place "$2"
    echo "placed $2"
}

list_data() {
    find "$data_dir/mime" "$data_dir/applications" 2>/dev/null | LC_ALL=C sort
}

# The desktop's caches of file types and of the actions that open them, brought up to date
# where their tools exist. The files they write that were not there before are recorded too.
update_caches() {
    before=$(mktemp)
    after=$(mktemp)
    list_data >"$before"
    if command -v update-mime-database >/dev/null 2>&1; then
        update-mime-database "$data_dir/mime" && echo "updated the file types in $data_dir/mime"
    fi
    if command -v update-desktop-database >/dev/null 2>&1; then
        update-desktop-database "$data_dir/applications" &&
            echo "updated the file actions in $data_dir/applications"
    fi
    list_data >"$after"
    # The desktop's cache of file actions holds other programs' too: it is never recorded, so
    # never removed, only brought up to date again.
    LC_ALL=C comm -13 "$before" "$after" | grep -vxF "$data_dir/applications/mimeinfo.cache" >"$before.new" || true
    while IFS= read -r path; do
        place "$path"
    done <"$before.new"
    rm -f "$before" "$after" "$before.new"
}

uninstall() {
    if [ ! -f "$record" ]; then
        echo "kitloom-cli is not installed for you: $record is missing"
        return 0
    fi
    # The last placed goes first, so that each folder's turn comes when it is empty.
    paths=$(sed '1!G;h;$!d' "$record")
    rm -f "$record"
    printf '%s\n' "$paths" | while IFS= read -r path; do
        if [ -d "$path" ] && [ ! -L "$path" ]; then
            # A folder that holds something else now stays.
            rmdir "$path" 2>/dev/null && echo "removed $path" || echo "kept $path: it holds other files"
        elif [ -e "$path" ] || [ -L "$path" ]; then
            rm -f "$path" && echo "removed $path"
        fi
    done
    # A cache that was there before the install is brought up to date without kitloom-cli.
    mime_cache=$data_dir/mime/mime.cache
    if command -v update-mime-database >/dev/null 2>&1 && [ -d "$data_dir/mime" ] &&
        { [ -d "$data_dir/mime/packages" ] || ! printf '%s\n' "$paths" | grep -qxF "$mime_cache"; }; then
        update-mime-database "$data_dir/mime"
    fi
    # The file actions' cache, kitloom-cli's entry taken out: rebuilt, never deleted, as other
    # programs' entries are in it too.
    if command -v update-desktop-database >/dev/null 2>&1 && [ -d "$data_dir/applications" ]; then
        update-desktop-database "$data_dir/applications"
    fi
}

install() {
    # An earlier install goes first: then the record holds this one's paths alone.
    if [ -f "$record" ]; then
        uninstall >/dev/null
    fi
    trap write_record EXIT
    put "$here/bin/kitloom-cli" "$bin_dir/kitloom-cli" 755
    put "$here/share/man/man1/kitloom-cli.1.gz" "$data_dir/man/man1/kitloom-cli.1.gz" 644
    put "$here/share/bash-completion/completions/kitloom-cli" "$bash_dir/kitloom-cli" 644
    put "$here/share/zsh/site-functions/_kitloom-cli" "$zsh_dir/_kitloom-cli" 644
    put "$here/share/fish/vendor_completions.d/kitloom-cli.fish" \
        "$data_dir/fish/vendor_completions.d/kitloom-cli.fish" 644
    put "$here/share/mime/packages/kitloom-cli.xml" "$data_dir/mime/packages/kitloom-cli.xml" 644
    put_desktop_entry "$here/share/applications/kitloom-cli-install.desktop" \
        "$data_dir/applications/kitloom-cli-install.desktop"
    put "$here/README.txt" "$data_dir/doc/kitloom-cli/README.txt" 644
    folder "$(dirname "$record")"
    put "$self" "$uninstaller" 755
    update_caches

    case ":$PATH:" in
    *":$bin_dir:"* | *":$bin_dir/:"*)
        echo "$bin_dir is on your PATH: 'kitloom-cli --help' tells what it does."
        ;;
    *)
        echo "$bin_dir is not on your PATH yet. Add it with this line in ~/.profile, then log in again:"
        echo '    PATH="$HOME/.local/bin:$PATH"'
        ;;
    esac
    if command -v zsh >/dev/null 2>&1; then
        echo "zsh finds the completion once ~/.zshrc has this line before compinit:"
        echo "    fpath=(\"$zsh_dir\" \$fpath)"
    fi
    # What makes a double-click on a patch work: a notification, and a dialog to ask in.
    if ! command -v notify-send >/dev/null 2>&1; then
        echo "notify-send is missing: install libnotify (libnotify-bin, libnotify) for the outcome of a double-click"
        echo "    on a patch to show as a notification (else zenity or kdialog shows it, else a log keeps it)."
    fi
    if ! command -v zenity >/dev/null 2>&1 && ! command -v kdialog >/dev/null 2>&1; then
        echo "zenity and kdialog are missing: install one, and a double-click on a patch asks for the game folder"
        echo "    when it is not found (without them it cannot ask)."
    fi
    echo "How to use it: $data_dir/doc/kitloom-cli/README.txt"
    echo "To remove it all: sh $uninstaller"
}

# The copy kept for uninstalling uninstalls by its name alone.
default=install
[ "$(basename "$0")" = uninstall.sh ] && default=uninstall

case ${1:-} in
"") $default ;;
--uninstall) uninstall ;;
-h | --help) usage ;;
*)
    usage >&2
    exit 2
    ;;
esac
