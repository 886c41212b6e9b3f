#!/usr/bin/env python3
"""Writes the Debian package's copyright file, in Debian's machine-readable format, from
LICENSE and THIRD-PARTY-NOTICES.txt: the .deb carries the very notices the Windows zip does.

    debian-copyright.py --license LICENSE --notices THIRD-PARTY-NOTICES.txt --output FILE
"""
import argparse
import re
import sys

FORMAT = "https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"

# What kitloom-cli compiles in on Linux: (the notice's heading, Files, License, Comment).
LIBRARIES = [
    ("CLI11", "CLI/*", "BSD-3-Clause",
     "CLI11, the command-line parser: its headers from Debian's libcli11-dev, compiled into kitloom-cli."),
    ("JSON for Modern C++", "nlohmann/*", "Expat",
     "nlohmann/json, for --json: its headers from Debian's nlohmann-json3-dev, compiled into kitloom-cli."),
]


def paragraphs(text):
    return [p.strip("\n") for p in re.split(r"\n\s*\n", text.strip("\n")) if p.strip()]


def copyright_and_license(text):
    """The holders of the "Copyright (c) ..." paragraph, and the paragraphs after it."""
    parts = paragraphs(text)
    for i, part in enumerate(parts):
        if part.startswith("Copyright"):
            holders = []
            for line in part.splitlines():
                if line.startswith("Copyright"):
                    holders.append(re.sub(r"^Copyright +(\([cC]\) +)?", "", line.strip()))
                else:
                    holders[-1] += " " + line.strip()
            return holders, parts[i + 1:]
    raise ValueError("no Copyright line in:\n" + text[:200])


def notice(notices, heading):
    """The text under the notices' heading that begins with `heading`."""
    rule = r"={20,}\n"
    match = re.search(rule + re.escape(heading) + r"[^\n]*\n" + rule + r"(.*?)(?=\n" + rule + r"|\Z)", notices,
                      re.S)
    if not match:
        raise ValueError("THIRD-PARTY-NOTICES.txt has no section " + heading)
    return match.group(1)


def field(name, lines):
    """A field whose value goes on over several lines: each further line indented, a blank one as " ."."""
    out = name + ": " + lines[0] + "\n"
    for line in lines[1:]:
        out += (" " + line if line.strip() else " .") + "\n"
    return out


def files_paragraph(files, text, license_name, comment=None):
    holders, license_text = copyright_and_license(text)
    body = []
    for part in license_text:
        if body:
            body.append("")
        body.extend(line.rstrip() for line in part.splitlines())
    out = "Files: " + files + "\n" + field("Copyright", holders)
    out += field("License", [license_name] + body)
    if comment:
        out += field("Comment", [comment])
    return out


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--license", required=True)
    parser.add_argument("--notices", required=True)
    parser.add_argument("--output", required=True)
    args = parser.parse_args()
    with open(args.license, encoding="utf-8") as f:
        license_text = f.read()
    with open(args.notices, encoding="utf-8") as f:
        notices = f.read()

    out = ("Format: " + FORMAT + "\n"
           "Upstream-Name: Kitloom\n"
           + field("Comment", ["Kitloom is under the MIT license (Expat); kitloom-cli also holds the code of",
                               "two header-only libraries, whose notices follow."]))
    out += "\n" + files_paragraph("*", license_text, "Expat")
    for heading, files, license_name, comment in LIBRARIES:
        out += "\n" + files_paragraph(files, notice(notices, heading), license_name, comment)
    with open(args.output, "w", encoding="utf-8", newline="\n") as f:
        f.write(out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
