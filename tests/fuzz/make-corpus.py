#!/usr/bin/env python3
"""Writes the seed corpus of the loader's fuzz target (corpus/load/) reproducibly."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "corpus", "load")


def record(name: bytes, metal=0.0, crystal=0.0, deuterium=0.0, raw=None) -> bytes:
    field = name[:200].ljust(200, b"\0")
    if raw is not None:
        return field + b"".join(struct.pack("<Q", bits) for bits in raw)
    return field + struct.pack("<ddd", metal, crystal, deuterium)


MARKER = b"KolvarnScreewsThisFile"
SEEDS = {
    "marker": record(MARKER),
    "marker-then-colonies": record(MARKER) + record(b"Alpha", 1, 2, 3),
    "three-colonies": record(b"Alpha", 1500, 800, 300) + record(b"Beta", 0, 4294967295, 1)
    + record(b"Gamma", 7, 8, 9),
    "duplicates": record(b"Alpha", 1, 2, 3) + record(b"Beta", 4, 5, 6) + record(b"Alpha", 7, 8, 9),
    "trailing-piece": record(b"Alpha", 1, 2, 3) + b"\x42" * 100,
    "short": b"Alpha\0\0\0",
    "nan-and-huge": record(b"Odd", raw=(0x7FF8000000000000, 0x7FF0000000000000, 0xFFF0000000000000))
    + record(b"Huge", 1e300, -1e300, 9223372036854775808.0)
    + record(b"Wraps", -1.0, 4294967296.0, -3.9),
    "names-without-zero": record(b"N" * 200, 1, 2, 3) + record(bytes(range(1, 201)), 4, 5, 6),
    "marker-second": record(b"First", 1, 1, 1) + record(MARKER, 2, 2, 2),
    "high-bytes": record(b"Caf\xe9 \xff\x80", 9, 9, 9),
}

os.makedirs(OUT, exist_ok=True)
for name, content in SEEDS.items():
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(content)
