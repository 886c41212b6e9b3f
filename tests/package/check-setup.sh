#!/usr/bin/env bash
# Checks the Windows setup program under Wine, in a fresh prefix of its own with a game in
# Orvanta\Dunkmere under Program Files, as a player's machine has it. Wine runs every program as
# an administrator, so a silent install (/S) is for all users; /S /CurrentUser is the install
# of a player who is none. For each: the files, the Start menu shortcut that starts kitloom.exe
# in the game's folder (the one kitloom-cli.exe found: under Program Files, then one chosen
# with where --use in a folder named in Chinese), the keys; the registered command line
# run on a patch downloaded with its images installs it; a second install over the first
# upgrades it in place; the silent uninstall that Settings' list names leaves no file or key
# of it behind, and zip files keep the program that opens them.
#   check-setup.sh SETUP.exe WINE-RUN PREFIX
set -uo pipefail
setup=$(realpath "$1")
wine_run=$2
export KITLOOM_WINEPREFIX=$3
rm -rf "$KITLOOM_WINEPREFIX" "$KITLOOM_WINEPREFIX.log"
# Wine links the profile's Downloads and Documents to the home folder: a home of the test's own.
home=$(mktemp -d "${TMPDIR:-/tmp}/kitloom-setup-home-XXXXXX") || exit 1
trap 'rm -rf "$home"' EXIT
export HOME=$home
"$wine_run" --prepare "$setup" || exit 1
export WINEPREFIX=$KITLOOM_WINEPREFIX WINEARCH=win32 WINELOADER=/usr/lib/wine/wine WINEDEBUG=-all
# No menu entries on the desktop of the test's home: Wine's, not the setup's.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
drive=$WINEPREFIX/drive_c

failed=0
fail() { echo "FAIL: $*"; failed=1; }
# A Windows program, by its Windows path, and the wait for every process it started.
windows() { "$WINELOADER" "$@" </dev/null >"$home/out.txt" 2>&1; local status=$?; wineserver -w; return $status; }
value() { # KEY NAME: the value's data, or nothing; NAME /ve is the key's default
  local name=(/v "$2")
  [ "$2" = /ve ] && name=(/ve)
  "$WINELOADER" reg query "$1" "${name[@]}" 2>/dev/null | tr -d '\r' | sed -n 's/^    .*    REG_[A-Z_]*    //p'
}
# The same for a value in any language: reg export writes UTF-16, where reg query's output
# keeps to the code page.
exported_value() { # KEY NAME
  "$WINELOADER" reg export "$1" 'C:\export.reg' /y >/dev/null 2>&1 || return
  python3 -c 'import sys
for line in open(sys.argv[1], "rb").read().decode("utf-16").splitlines():
    if line.startswith("\"%s\"=\"" % sys.argv[2]):
        print(line.split("=", 1)[1][1:-1].replace("\\\\", "\\"))' "$drive/export.reg" "$2"
  rm -f "$drive/export.reg"
}
has_key() { "$WINELOADER" reg query "$1" >/dev/null 2>&1; }
# A Windows command line as the registry holds it, split as Windows splits it, %1 put in.
run_command_line() { # LINE ARGUMENT
  local words
  mapfile -t words < <(python3 -c 'import re, sys
for quoted, plain in re.findall(r"\"([^\"]*)\"|(\S+)", sys.argv[1]):
    print((quoted or plain).replace("%1", sys.argv[2]))' "$1" "$2")
  windows "${words[@]}"
}
table() { # FILE RECORDS
  mkdir -p "$(dirname "$1")"
  {
    printf '\003\176\013\036'
    printf "\\$(printf %03o "$2")\\000\\000\\000"
    head -c 377 /dev/zero | tr '\0' F
    printf '\r'
    for ((i = 1; i <= $2; i++)); do printf ' %028d' "$i"; done
  } >"$1"
}
records() { echo $((($(stat -c %s "$game/saves/$1/teamgear.dbf") - 386) / 29)); }
# Every file and folder outside Windows' own, the temporary folder, the game and the player's
# own (the journal, the game chosen once); and every registry line that names Kitloom, without
# the time its key was written.
snapshot() {
  (cd "$drive" && find . -path ./windows -prune -o -path ./users/root/Temp -prune -o \
    -path "./Program Files/Orvanta" -prune -o -path ./users/root/AppData/Local/kitloom -prune -o \
    -path ./users/root/AppData/Roaming/kitloom -prune -o -print | sort)
  grep -ih kitloom "$WINEPREFIX"/*.reg | sed 's/\] [0-9]*$/]/' | sort
}

game=$drive/Program\ Files/Orvanta/Dunkmere
win_game='C:\Program Files\Orvanta\Dunkmere'
art=$game/render/xteam
for save in 000 001; do table "$game/saves/$save/teamgear.dbf" 3; done
mkdir -p "$game/render"
# A game elsewhere, in a folder named in Chinese: a player chooses it with where --use.
chosen_game=$drive/李明/Dunkmere
for save in 000 001; do table "$chosen_game/saves/$save/teamgear.dbf" 3; done
zip_default=$(value 'HKCR\.zip' /ve)
before=$(snapshot)

# A patch for every save: no Save Slot, its two images, then the 39-byte trailer (team, type,
# name, year, the five style codes).
patch() { # FILE NAME
  python3 -c 'import struct, sys
name = sys.argv[2].encode()
lines = b"\r\nsu" + name + b".fsh\r\nsu" + name + b"_num.fsh\r\n"
trailer = struct.pack("<ii", 5, 2) + name + b"1998-99" + struct.pack("<5i", 3, 9, 1, 1, 1)
open(sys.argv[1], "wb").write(lines + trailer)' "$1" "$2"
}

check_install() { # HIVE FOLDER WIN_FOLDER START_MENU
  local hive=$1 folder=$2 win_folder=$3 start_menu=$4 uninstall
  for file in kitloom.exe kitloom-cli.exe README.txt LICENSE.txt THIRD-PARTY-NOTICES.txt uninstall.exe; do
    [ -f "$folder/$file" ] || fail "$hive: no $file in $win_folder"
  done
  cmp -s "$folder/kitloom-cli.exe" "$(dirname "$setup")/kitloom-cli.exe" || fail "$hive: another kitloom-cli.exe"
  [ -f "$start_menu/Kitloom.lnk" ] || fail "$hive: no shortcut in $start_menu"
  python3 -c 'import sys; sys.exit(sys.argv[2].encode("utf-16-le") not in open(sys.argv[1], "rb").read())' \
    "$start_menu/Kitloom.lnk" "$win_game" || fail "$hive: the shortcut does not start kitloom.exe in $win_game"
  uninstall="$hive\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kitloom"
  [ "$(value "$uninstall" DisplayName)" = Kitloom ] || fail "$hive: not in the list of programs"
  [ "$(value "$uninstall" InstallLocation)" = "$win_folder" ] || fail "$hive: InstallLocation"
  [ "$(exported_value "$uninstall" GameFolder)" = "$win_game" ] ||
    fail "$hive: the game used is $(exported_value "$uninstall" GameFolder), not the one found, $win_game"
  [ "$(value "$hive\\Software\\Classes\\.jer" /ve)" = Kitloom.JerseyPatch ] || fail "$hive: .jer is not registered"
  [ "$(value "$hive\\Software\\Classes\\Kitloom.JerseyPatch" /ve)" = "Jersey patch" ] || fail "$hive: no Jersey patch"
  [ "$(value "$hive\\Software\\Classes\\Kitloom.JerseyPatch\\DefaultIcon" /ve)" = "$win_folder\\kitloom.exe,0" ] ||
    fail "$hive: a patch has not Kitloom's icon"
  local zip_verb="$hive\\Software\\Classes\\SystemFileAssociations\\.zip\\shell\\Kitloom.Install"
  [ "$(value "$zip_verb" /ve)" = "Install with Kitloom" ] || fail "$hive: zip files have no Install with Kitloom"
  [ "$(value "$zip_verb\\command" /ve)" = "\"$win_folder\\kitloom-cli.exe\" install \"%1\"" ] ||
    fail "$hive: zip's command is $(value "$zip_verb\\command" /ve)"
  [ "$(value 'HKCR\.zip' /ve)" = "$zip_default" ] || fail "$hive: zip files' own program changed"

  # A patch downloaded with its images, opened as Explorer opens it.
  local records_before
  records_before=$(records 000)
  mkdir -p "$drive/users/root/Downloads"
  patch "$drive/users/root/Downloads/down.jer" "$hive"
  echo image >"$drive/users/root/Downloads/su$hive.fsh"
  echo number >"$drive/users/root/Downloads/su${hive}_num.fsh"
  run_command_line "$(value "$hive\\Software\\Classes\\Kitloom.JerseyPatch\\shell\\open\\command" /ve)" \
    'C:\users\root\Downloads\down.jer' || fail "$hive: the registered command failed: $(cat "$home/out.txt")"
  [ "$(records 000)" = $((records_before + 1)) ] && [ "$(records 001)" = $((records_before + 1)) ] ||
    fail "$hive: the registered command installed nothing: $(cat "$home/out.txt")"
  [ -f "$art/su${hive}_num.fsh" ] || fail "$hive: the images are not in the art folder"
  rm -rf "$art" "$drive/users/root/Downloads"/*
}

check_uninstall() { # HIVE
  local uninstall="$1\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kitloom" line
  line=$(value "$uninstall" QuietUninstallString)
  [ -n "$line" ] || { fail "$1: no QuietUninstallString"; return; }
  # The uninstaller copies itself away and returns at once; the wait is for that copy.
  run_command_line "$line" "" || fail "$1: the uninstaller failed: $(cat "$home/out.txt")"
  has_key "$uninstall" && fail "$1: still in the list of programs"
  local left
  left=$(diff <(echo "$before") <(snapshot))
  [ -z "$left" ] || fail "$1: the uninstall left: $left"
  [ -f "$drive/users/root/AppData/Local/kitloom/journal.jsonl" ] || fail "$1: the player's journal went too"
}

windows "$setup" /S || fail "the silent install failed: $(cat "$home/out.txt")"
check_install HKLM "$drive/Program Files/Kitloom" 'C:\Program Files\Kitloom' \
  "$drive/ProgramData/Microsoft/Windows/Start Menu/Programs"
check_uninstall HKLM

# The game chosen is the one found, and the one the setup shows and uses.
game=$chosen_game
win_game='C:\李明\Dunkmere'
windows "$(dirname "$setup")/kitloom-cli.exe" where --use "$win_game" || fail "where --use: $(cat "$home/out.txt")"
per_user="$drive/users/root/AppData/Local/Programs/Kitloom"
windows "$setup" /S /CurrentUser || fail "the install for the current user failed: $(cat "$home/out.txt")"
has_key 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kitloom' && fail "/CurrentUser wrote HKLM's list"
check_install HKCU "$per_user" 'C:\users\root\AppData\Local\Programs\Kitloom' \
  "$drive/users/root/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
first=$(snapshot)
windows "$setup" /S /CurrentUser || fail "the second install failed: $(cat "$home/out.txt")"
[ "$(snapshot)" = "$first" ] || fail "the second install did not upgrade in place: $(diff <(echo "$first") <(snapshot))"
check_uninstall HKCU

[ $failed -eq 0 ] && echo "the setup installs, upgrades and uninstalls cleanly ($(stat -c %s "$setup") bytes)"
exit $failed
