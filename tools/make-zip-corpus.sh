#!/usr/bin/env bash
# Makes the zip reader's seed archives in tests/fuzz/zip-corpus/ with the tools players zip
# patches with: Info-ZIP's zip, Python's zipfile and 7-Zip (Debian's zip and p7zip-full).
# Each holds the same four files: home.jer, home.fsh, images/home_num.fsh and équipe.fsh,
# whose name is not ASCII. The seeds are committed; only a change to them needs this.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$PWD/tests/fuzz/zip-corpus
for tool in zip 7z python3; do
  command -v "$tool" >/dev/null || { echo "make-zip-corpus.sh needs $tool (zip, p7zip-full, python3)" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The same names and dates whatever this machine's locale and time zone.
export LC_ALL=C.UTF-8 TZ=UTC
cd "$work"
mkdir images
for line in 1 2 3 4 5 6 7 8 9 10; do printf 'Dunkmere home jersey, line %d\r\n' "$line"; done >home.jer
# Each image: an FSH header (its signature, size and image count) and a directory entry's tag.
fsh() { printf 'SHPI\024\000\000\000\001\000\000\000G264%s' "$1"; }
fsh home >home.fsh
fsh _num >images/home_num.fsh
fsh away >équipe.fsh
touch -d '2024-03-01 12:00' home.jer home.fsh images images/home_num.fsh équipe.fsh
files=(home.jer home.fsh images/home_num.fsh équipe.fsh)

rm -f "$out"/*.zip
mkdir -p "$out"
# Info-ZIP: its time and Unix extra fields, a folder entry, and on Linux a UTF-8 name stored
# as it is, without the UTF-8 flag.
zip -q -r "$out/info-zip.zip" home.jer home.fsh images équipe.fsh
# Zip64 end records and extra fields, as zip writes them for large archives.
zip -q -fz "$out/info-zip-zip64.zip" "${files[@]}"
# Written to a pipe: data descriptors after each entry's data (flag bit 3).
zip -q - "${files[@]}" | cat >"$out/info-zip-streamed.zip"
# 7-Zip: the UTF-8 flag on the name that needs it; with -mcl=on, the name in the local code
# page and Info-ZIP's Unicode Path extra field.
7z a -tzip -bso0 "$out/7zip.zip" home.jer home.fsh images équipe.fsh
7z a -tzip -bso0 -mcl=on "$out/7zip-unicode-path.zip" home.jer home.fsh images équipe.fsh
python3 - "$out" "${files[@]}" <<'PYTHON'
import sys
import zipfile

out, files = sys.argv[1], sys.argv[2:]
for name, method in (("python-stored.zip", zipfile.ZIP_STORED), ("python-deflated.zip", zipfile.ZIP_DEFLATED)):
    with zipfile.ZipFile(f"{out}/{name}", "w", method) as archive:
        for file in files:
            archive.write(file)


# As a Windows zip tool writes names: in code page 437, without the UTF-8 flag, made on MS-DOS.
class DosZipInfo(zipfile.ZipInfo):
    def _encodeFilenameFlags(self):
        return self.filename.encode("cp437"), self.flag_bits


with zipfile.ZipFile(f"{out}/python-cp437.zip", "w", zipfile.ZIP_DEFLATED) as archive:
    for file in files:
        info = DosZipInfo.from_file(file)
        info.create_system = 0
        info.compress_type = zipfile.ZIP_DEFLATED
        with open(file, "rb") as data:
            archive.writestr(info, data.read())
PYTHON
ls -l "$out"
