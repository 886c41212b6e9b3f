#!/bin/sh
# Installs kitloom-cli for you alone: no root, and nothing outside your home folder. The
# program goes into ~/.local/bin; its man page, its completions for bash, zsh and fish, the
# .jer file type and the "Install with Kitloom" file action go under $XDG_DATA_HOME
# (~/.local/share when it is not set).
#
#   ./install.sh               install (again: what an earlier install placed is replaced)
#   ./install.sh --uninstall   remove exactly what the install placed
set -eu

here=$(cd "$(dirname "$0")" && pwd)
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
    LC_ALL=C comm -13 "$before" "$after" >"$before.new"
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
    desktop_cache=$data_dir/applications/mimeinfo.cache
    if command -v update-desktop-database >/dev/null 2>&1 && [ -d "$data_dir/applications" ] &&
        ! printf '%s\n' "$paths" | grep -qxF "$desktop_cache"; then
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
    folder "$(dirname "$record")"
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
    echo "To remove it all: $0 --uninstall"
}

case ${1:-} in
"") install ;;
--uninstall) uninstall ;;
-h | --help) usage ;;
*)
    usage >&2
    exit 2
    ;;
esac
