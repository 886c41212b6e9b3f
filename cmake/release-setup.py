#!/usr/bin/env python3
"""Makes the Windows setup program with NSIS, byte for byte alike from two builds of one commit.

    release-setup.py --makensis PROGRAM --script FILE.nsi --version X.Y --icon FILE.ico
                     --stage DIR --output FILE.exe NAME=PATH...

Each NAME=PATH is copied into DIR under NAME (a .txt file with Windows line ends, as in the
zip), and the script installs them from there. The setup holds no file dates and no build
folder, so only the staged bytes decide its own.
"""
import argparse
import os
import shutil
import subprocess
import sys


def windows_text(data):
    return data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--makensis", required=True)
    parser.add_argument("--script", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--icon", required=True)
    parser.add_argument("--stage", required=True)
    parser.add_argument("--output", required=True)
    parser.add_argument("files", nargs="+", metavar="NAME=PATH")
    args = parser.parse_args()

    shutil.rmtree(args.stage, ignore_errors=True)
    os.makedirs(args.stage)
    for entry in args.files:
        name, path = entry.split("=", 1)
        with open(path, "rb") as f:
            data = f.read()
        if name.endswith(".txt"):
            data = windows_text(data)
        with open(os.path.join(args.stage, name), "wb") as f:
            f.write(data)
    shutil.copyfile(args.icon, os.path.join(args.stage, "kitloom.ico"))

    # makensis runs in the stage, and is given relative paths only: no folder of this build
    # reaches the setup.
    partial = os.path.abspath(args.output) + ".part"
    command = [args.makensis, "-V2", "-NOCD", f"-DVERSION={args.version}", "-DFILES=.", "-DICON=kitloom.ico",
               f"-DOUTFILE={partial}", os.path.abspath(args.script)]
    result = subprocess.run(command, cwd=args.stage, capture_output=True, text=True)
    if result.returncode != 0:
        sys.stderr.write(result.stdout + result.stderr)
        return 1
    os.replace(partial, args.output)
    print(f"setup: {args.output}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
