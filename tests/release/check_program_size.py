#!/usr/bin/env python3
"""Checks that a program stays small and needs nothing beside it.

    check_program_size.py PROGRAM.exe LINK.map OBJDUMP --limit BYTES --imports DLL...

PROGRAM.exe is the stripped program, LINK.map the map that its own link wrote: the symbols that
stripping took out of the file are still named there. OBJDUMP is the objdump of the build's
toolchain. Fails when the file is over BYTES, imports a DLL not in the list, or carries the
runtime's exception support.
"""
import argparse
import os
import re
import subprocess
import sys

# Throwing, and the unwinder and personality routine that catching or cleaning up on the way
# needs. 32-bit names carry one more leading underscore; both match.
EXCEPTION_SUPPORT = re.compile(r"__cxa_throw|_Unwind_|__gxx_personality")
# A symbol's line in the memory map: its address, then its name (a section's has two numbers).
SYMBOL = re.compile(r"^\s+0x[0-9a-fA-F]+\s+([^\s0].*)$", re.MULTILINE)
CXX_RUNTIME = re.compile(r"lib(?:stdc\+\+|supc\+\+)\.a\(")
TOOLCHAIN_ARCHIVE = re.compile(r"lib(?:stdc\+\+|supc\+\+|gcc|gcc_eh)\.a\(")


def sections(map_text):
    """The archive members the link took, as (member, referrer, symbol), and the memory map."""
    head, found, rest = map_text.partition("\nLinker script and memory map\n")
    if not found:
        raise ValueError("no memory map in the link map")
    memory_map = rest.partition("\nCross Reference Table\n")[0]
    members = []
    entries = re.split(r"\n(?=\S)", head.partition("\nDiscarded input sections")[0])
    for entry in entries[1:]:
        words = entry.replace(" (symbol from plugin)", "").split(None, 2)
        if len(words) == 3:
            members.append((words[0], words[1], words[2].strip()[1:-1]))
    return members, memory_map


def problems(program, link_map, objdump, limit, allowed):
    size = os.path.getsize(program)
    print(f"{os.path.basename(program)}: {size} bytes (limit {limit})")
    if size > limit:
        yield f"{size} bytes, {size - limit} over the limit of {limit}"

    dump = subprocess.run([objdump, "-p", program], capture_output=True, text=True)
    if dump.returncode != 0:
        yield f"{objdump} could not read the program: {dump.stderr.strip()}"
        return
    imports = re.findall(r"DLL Name: (\S+)", dump.stdout)
    print(f"imports: {' '.join(imports)}")
    if not imports:
        yield "objdump found no import table"
    for name in imports:
        if name.lower() not in {a.lower() for a in allowed}:
            yield f"imports {name}, which is not one of {' '.join(allowed)}"

    # A map left from an older link would describe another program.
    if os.path.getmtime(link_map) + 5 < os.path.getmtime(program):
        yield f"{link_map} is older than the program: the link wrote no map"
        return
    with open(link_map, encoding="utf-8", errors="replace") as file:
        members, memory_map = sections(file.read())
    found = sorted({name for name in SYMBOL.findall(memory_map) if EXCEPTION_SUPPORT.search(name)})
    if found:
        yield f"links exception support: {' '.join(found[:8])}{' ...' if len(found) > 8 else ''}"
        # What the program's own code asked of the C++ runtime, which the rest came with.
        for member, referrer, symbol in members:
            if CXX_RUNTIME.search(member) and not TOOLCHAIN_ARCHIVE.search(referrer):
                yield f"  {os.path.basename(member)} for {symbol}, used by {os.path.basename(referrer)}"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("link_map")
    parser.add_argument("objdump")
    parser.add_argument("--limit", type=int, required=True)
    parser.add_argument("--imports", nargs="+", required=True)
    args = parser.parse_args()
    found = list(problems(args.program, args.link_map, args.objdump, args.limit, args.imports))
    for problem in found:
        print(problem)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
