#!/usr/bin/env python3
"""Writes a release tarball (.tar.gz) that two builds of one commit make byte for byte alike.

    release-tarball.py --source DIR --output FILE.tar.gz --folder NAME NAME=PATH...

Every entry goes under the folder NAME, with its parent folders before it, in the order
given. Each carries the same date (SOURCE_DATE_EPOCH when set, else the time of the source's
last commit), owner 0 and mode 755 when its file can be run, else 644; the gzip header holds
no name and no date.
"""
import argparse
import gzip
import hashlib
import io
import os
import subprocess
import sys
import tarfile


def source_date(source):
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    try:
        return int(subprocess.run(["git", "-C", source, "log", "-1", "--format=%ct"], capture_output=True,
                                  text=True, check=True).stdout.strip())
    except (OSError, subprocess.CalledProcessError, ValueError):
        return 0


def entry(name, date, mode, kind=tarfile.REGTYPE, size=0):
    info = tarfile.TarInfo(name)
    info.type = kind
    info.mode = mode
    info.size = size
    info.mtime = date
    info.uid = info.gid = 0
    info.uname = info.gname = ""
    return info


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--source", required=True)
    parser.add_argument("--output", required=True)
    parser.add_argument("--folder", required=True)
    parser.add_argument("entries", nargs="+", metavar="NAME=PATH")
    args = parser.parse_args()

    date = source_date(args.source)
    archive = io.BytesIO()
    folders = set()
    with tarfile.open(fileobj=archive, mode="w", format=tarfile.GNU_FORMAT) as tar:
        for item in args.entries:
            name, path = item.split("=", 1)
            parts = (args.folder + "/" + name).split("/")
            for depth in range(1, len(parts)):
                folder = "/".join(parts[:depth])
                if folder not in folders:
                    folders.add(folder)
                    tar.addfile(entry(folder, date, 0o755, tarfile.DIRTYPE))
            with open(path, "rb") as f:
                data = f.read()
            mode = 0o755 if os.access(path, os.X_OK) else 0o644
            tar.addfile(entry("/".join(parts), date, mode, size=len(data)), io.BytesIO(data))

    partial = args.output + ".part"
    with open(partial, "wb") as f:
        with gzip.GzipFile(filename="", mode="wb", fileobj=f, compresslevel=9, mtime=0) as compressed:
            compressed.write(archive.getvalue())
    os.replace(partial, args.output)
    with open(args.output, "rb") as f:
        digest = hashlib.sha256(f.read()).hexdigest()
    print(f"package: {args.output}")
    print(f"sha256: {digest}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
