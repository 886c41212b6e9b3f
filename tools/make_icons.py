#!/usr/bin/env python3
"""Write the program's icons from the text pixel maps in tools/icons/.

Each map is 32 lines of 32 characters; each character is one pixel, named by
PALETTE_KEYS below, and '.' is transparent. Every icon is one 32x32 image in
16 colours (4 bits a pixel) with an AND mask, the form the old shell expects.

    python3 tools/make_icons.py           write the .ico files
    python3 tools/make_icons.py --check   fail if a committed .ico is stale
"""
import struct
import sys
from pathlib import Path

SIZE = 32
TRANSPARENT = "."

# The standard 16-colour VGA palette in the Windows order, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]

# Map character -> palette index. Upper case is the bright colour, lower case
# the dark one where both exist.
PALETTE_KEYS = {
    "K": 0,   # black
    "r": 1,   # dark red
    "g": 2,   # dark green
    "y": 3,   # olive
    "b": 4,   # navy
    "m": 5,   # purple
    "t": 6,   # teal
    "S": 7,   # silver
    "D": 8,   # grey
    "R": 9,   # red
    "G": 10,  # green
    "Y": 11,  # yellow
    "B": 12,  # blue
    "M": 13,  # magenta
    "C": 14,  # cyan
    "W": 15,  # white
}

ROOT = Path(__file__).resolve().parent.parent
ICONS = [
    (ROOT / "tools" / "icons" / "jersey.txt", ROOT / "app" / "resources" / "jersey.ico"),
    (ROOT / "tools" / "icons" / "letters.txt", ROOT / "app" / "resources" / "letters.ico"),
]


def read_map(path):
    rows = path.read_text(encoding="ascii").splitlines()
    if len(rows) != SIZE or any(len(row) != SIZE for row in rows):
        raise ValueError(f"{path}: expected {SIZE} lines of {SIZE} characters")
    for y, row in enumerate(rows, 1):
        for x, key in enumerate(row, 1):
            if key != TRANSPARENT and key not in PALETTE_KEYS:
                raise ValueError(f"{path}:{y}:{x}: unknown colour {key!r}")
    return rows


def ico_bytes(rows):
    # Bitmap rows are stored bottom-up; a transparent pixel is colour 0 in the
    # colour bitmap and 1 in the AND mask.
    colour = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        indices = [PALETTE_KEYS.get(key, 0) for key in row]
        colour += bytes(hi << 4 | lo for hi, lo in zip(indices[0::2], indices[1::2]))
        bits = 0
        for key in row:
            bits = bits << 1 | (key == TRANSPARENT)
        mask += bits.to_bytes(SIZE // 8, "big")
    # 16 bytes a colour row and 4 a mask row: both already on a 4-byte boundary.
    palette = b"".join(struct.pack("<4B", b, g, r, 0) for r, g, b in PALETTE)
    # The height covers the colour bitmap and the mask together, hence doubled.
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    image = header + palette + bytes(colour) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main(argv):
    check = argv[1:] == ["--check"]
    if argv[1:] and not check:
        print(__doc__, file=sys.stderr)
        return 2
    stale = []
    for source, target in ICONS:
        data = ico_bytes(read_map(source))
        if check:
            if not target.exists() or target.read_bytes() != data:
                stale.append(target)
        else:
            target.write_bytes(data)
    for target in stale:
        print(f"{target} does not match its map; run tools/make_icons.py", file=sys.stderr)
    return 1 if stale else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
