#!/usr/bin/env python3
"""Reads the manifest and the version texts out of a Windows program's resources.

    pe_resources.py PROGRAM.exe    prints both
"""
import struct
import sys

RT_VERSION = 16
RT_MANIFEST = 24


class PeImage:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("not a Windows program")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE header")
        sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        directories = optional + (96 if magic == 0x10B else 112)
        self.resource_rva = struct.unpack_from("<I", data, directories + 2 * 8)[0]
        self.sections = []
        for i in range(sections):
            size, rva, raw_size, raw = struct.unpack_from("<4I", data, optional + optional_size + 40 * i + 8)
            self.sections.append((rva, max(size, raw_size), raw))

    def offset(self, rva):
        for start, size, raw in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError(f"RVA {rva:#x} is in no section")

    def _entries(self, directory):
        base = self.offset(self.resource_rva)
        named, numbered = struct.unpack_from("<HH", self.data, base + directory + 12)
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", self.data, base + directory + 16 + 8 * i)
            yield name, target & 0x7FFFFFFF, bool(target & 0x80000000)

    def resource(self, kind, number):
        """The first language's bytes of resource `number` of type `kind`, or None."""
        if not self.resource_rva:
            return None
        level = 0
        for wanted in (kind, number, None):
            found = [(target, is_dir) for name, target, is_dir in self._entries(level) if wanted in (None, name)]
            if not found:
                return None
            level, is_directory = found[0]
            if wanted is None and not is_directory:
                rva, size = struct.unpack_from("<II", self.data, self.offset(self.resource_rva) + level)
                return self.data[self.offset(rva):self.offset(rva) + size]
        return None


def _align(n):
    return (n + 3) & ~3


def _version_node(block, at):
    """(key, value bytes, child offsets, end) of the version block node at `at`."""
    length, value_length, is_text = struct.unpack_from("<HHH", block, at)
    key_end = at + 6
    while block[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = block[at + 6:key_end].decode("utf-16-le")
    value_at = _align(key_end + 2)
    value_size = value_length * 2 if is_text else value_length
    children, child = [], _align(value_at + value_size)
    while child < at + length:
        children.append(child)
        child = _align(child + struct.unpack_from("<H", block, child)[0])
    return key, block[value_at:value_at + value_size], children, at + length


def version_texts(block):
    """The StringFileInfo texts of a VS_VERSIONINFO block, by name."""
    texts = {}
    for info in _version_node(block, 0)[2]:
        key, _, tables, _ = _version_node(block, info)
        if key != "StringFileInfo":
            continue
        for table in tables:
            for entry in _version_node(block, table)[2]:
                name, value, _, _ = _version_node(block, entry)
                texts[name] = value.decode("utf-16-le").rstrip("\0")
    return texts


def read(path):
    with open(path, "rb") as f:
        image = PeImage(f.read())
    manifest = image.resource(RT_MANIFEST, 1)
    version = image.resource(RT_VERSION, 1)
    return (manifest.decode("utf-8") if manifest is not None else None,
            version_texts(version) if version is not None else {})


if __name__ == "__main__":
    manifest, texts = read(sys.argv[1])
    print(manifest if manifest is not None else "(no manifest)")
    for name, value in texts.items():
        print(f"{name}: {value}")
