#!/usr/bin/env bash
# How long kitloom-cli takes to find the game among many Wine prefixes: a temporary HOME with
# PREFIXES Steam prefixes (each laid out as Proton makes one) and LUTRIS Lutris games (each
# with a prefix of its own), the game in one of the Steam prefixes; `kitloom-cli where` runs
# RUNS times, and the median wall time is printed.
#   bench/discovery-time.sh PROGRAM [PREFIXES=60] [LUTRIS=20] [RUNS=11]
set -euo pipefail
program=$(realpath "$1")
prefixes=${2:-60}
lutris=${3:-20}
runs=${4:-11}

home=$(mktemp -d "${TMPDIR:-/tmp}/kitloom-discovery-XXXXXX")
trap 'rm -rf "$home"' EXIT

# A prefix as Wine lays one out: Windows' own folders, two Program Files with the usual
# contents, a user's profile.
prefix() {
  local drive=$1/drive_c
  mkdir -p "$drive"/windows/{system32,syswow64,Fonts} "$drive"/users/steamuser/{Documents,AppData/Roaming} \
    "$drive"/ProgramData/Microsoft
  local programs folder
  for programs in "Program Files" "Program Files (x86)"; do
    for folder in "Common Files/System" "Common Files/Microsoft Shared" "Internet Explorer" \
      "Windows Media Player" "Windows NT/Accessories"; do
      mkdir -p "$drive/$programs/$folder"
    done
  done
}

steam=$home/.local/share/Steam/steamapps
for ((i = 0; i < prefixes; i++)); do prefix "$steam/compatdata/$((2000000 + i))/pfx"; done
game="$steam/compatdata/2000007/pfx/drive_c/Program Files (x86)/Orvanta/Dunkmere"
mkdir -p "$game/saves/000"
printf '"libraryfolders"\n{\n\t"0"\n\t{\n\t\t"path"\t\t"%s"\n\t}\n}\n' "$home/.local/share/Steam" \
  >"$steam/libraryfolders.vdf"
mkdir -p "$home/.config/lutris/games"
for ((i = 0; i < lutris; i++)); do
  prefix "$home/Games/lutris-$i"
  printf 'game:\n  exe: drive_c/game.exe\n  prefix: %s\nname: Game %d\nrunner: wine\nwine:\n  version: lutris-7\n' \
    "$home/Games/lutris-$i" "$i" >"$home/.config/lutris/games/game-$i.yml"
done

times=()
for ((r = 0; r < runs; r++)); do
  start=$(date +%s%N)
  HOME=$home XDG_CONFIG_HOME= XDG_DATA_HOME= WINEPREFIX= "$program" where >/dev/null
  times+=($((($(date +%s%N) - start) / 1000)))
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$((runs / 2 + 1))p")
echo "$prefixes Steam prefixes, $lutris Lutris games: median $((median / 1000)).$(printf %03d $((median % 1000))) ms of $runs runs of 'kitloom-cli where'"
