#!/usr/bin/env python3
"""Writes a release zip that two builds of one commit make byte for byte alike, and
SHA256SUMS.txt beside it.

    release-zip.py --source DIR --output FILE.zip [--also FILE]... NAME=PATH...

Entries go in the order given. Every entry carries the same date: SOURCE_DATE_EPOCH when
set, else the time of the source's last commit, else 1980-01-01 (the first date a zip
holds). A .txt entry gets Windows line ends, as Notepad shows them. Each --also file (the
setup program) is named in SHA256SUMS.txt too, after the zip.
"""
import argparse
import hashlib
import os
import subprocess
import sys
import time
import zipfile

ZIP_EPOCH = 315532800  # 1980-01-01 00:00:00 UTC


def source_date(source):
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    try:
        out = subprocess.run(["git", "-C", source, "log", "-1", "--format=%ct"], capture_output=True, text=True,
                             check=True).stdout.strip()
        return int(out)
    except (OSError, subprocess.CalledProcessError, ValueError):
        return ZIP_EPOCH


def windows_text(data):
    return data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--source", required=True)
    parser.add_argument("--output", required=True)
    parser.add_argument("--also", action="append", default=[])
    parser.add_argument("entries", nargs="+", metavar="NAME=PATH")
    args = parser.parse_args()

    date = time.gmtime(max(source_date(args.source), ZIP_EPOCH))[:6]
    partial = args.output + ".part"
    with zipfile.ZipFile(partial, "w") as archive:
        for entry in args.entries:
            name, path = entry.split("=", 1)
            with open(path, "rb") as f:
                data = f.read()
            if name.endswith(".txt"):
                data = windows_text(data)
            info = zipfile.ZipInfo(name, date_time=date)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0  # MS-DOS: no Unix owner or mode bits to differ
            info.external_attr = 0x20  # the archive attribute, as Windows writes it
            archive.writestr(info, data, compresslevel=9)
    os.replace(partial, args.output)

    sums = os.path.join(os.path.dirname(os.path.abspath(args.output)), "SHA256SUMS.txt")
    with open(sums, "w", newline="\n") as f:
        for path in [args.output] + args.also:
            with open(path, "rb") as download:
                digest = hashlib.sha256(download.read()).hexdigest()
            f.write(f"{digest}  {os.path.basename(path)}\n")
            print(f"sha256: {digest}  {os.path.basename(path)}")
    print(f"package: {args.output}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
