#!/usr/bin/env python3
"""Draws the program's icons and writes them as 24-bit .ico files.

Every picture is a stack of filled shapes in a 32 x 32 unit square, rendered with 6 x 6
samples per pixel, so the same drawing gives the 32 x 32 and the 16 x 16 globe. A 24-bit
icon has no alpha channel: a pixel is either drawn or transparent (AND mask), so the outer
edge is cut where half of the pixel is covered and only inner edges are smoothed.

    make-art.py                 write res/icons/*.ico
    make-art.py --check         fail unless res/icons/*.ico are exactly what this draws
    make-art.py --preview DIR   also write enlarged PNGs of every icon to DIR, to look at
"""

import argparse
import math
import pathlib
import struct
import sys
import zlib

SAMPLES = 6
ROOT = pathlib.Path(__file__).resolve().parent.parent
ICON_DIR = ROOT / "res" / "icons"


# ---- shapes: each is a test "is the point (x, y) inside", in 32-unit coordinates ----


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ellipse(cx, cy, rx, ry, angle=0.0):
    c, s = math.cos(math.radians(angle)), math.sin(math.radians(angle))

    def inside(x, y):
        dx, dy = x - cx, y - cy
        u, v = dx * c + dy * s, -dx * s + dy * c
        return (u / rx) ** 2 + (v / ry) ** 2 <= 1.0

    return inside


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def polygon(*points):
    def inside(x, y):
        hit = False
        n = len(points)
        for i in range(n):
            (ax, ay), (bx, by) = points[i], points[(i + 1) % n]
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                hit = not hit
        return hit

    return inside


def segment(ax, ay, bx, by, width):
    half = width / 2.0
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        px, py = ax + t * dx - x, ay + t * dy - y
        return px * px + py * py <= half * half

    return inside


def ring(cx, cy, r, width):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) <= width / 2.0


def both(a, b):
    return lambda x, y: a(x, y) and b(x, y)


def without(a, b):
    return lambda x, y: a(x, y) and not b(x, y)


# ---- the pictures: lists of (shape, colour), painted in order ----

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)


def globe():
    cx, cy, r = 16.0, 16.0, 13.8
    ball = circle(cx, cy, r)
    land = [
        # The Americas on the left, Europe and Africa on the right of the visible face.
        polygon((6.0, 7.5), (11.5, 6.0), (13.5, 9.0), (12.0, 12.5), (10.0, 14.0), (8.5, 13.0), (5.5, 12.5)),
        polygon((10.0, 15.0), (13.5, 16.5), (13.0, 21.0), (11.0, 26.0), (9.5, 25.0), (9.0, 19.5)),
        polygon((17.5, 5.0), (22.5, 4.5), (25.5, 7.0), (23.5, 10.0), (19.5, 10.5), (17.0, 8.5)),
        polygon((18.0, 12.5), (23.5, 12.0), (26.5, 15.5), (24.5, 21.0), (21.5, 26.0), (19.5, 22.5), (17.5, 17.0)),
    ]
    layers = [
        (circle(cx, cy, r + 1.0), (8, 24, 72)),
        (ball, (24, 78, 190)),
        (both(ball, circle(cx - 4.5, cy - 4.5, 9.5)), (46, 116, 226)),
        (both(ball, circle(cx - 6.0, cy - 6.0, 4.5)), (92, 156, 240)),
    ]
    for shape in land:
        layers.append((both(ball, shape), (36, 150, 60)))
    grid = (150, 195, 250)
    for lat in (-8.0, 0.0, 8.0):
        half = math.sqrt(r * r - lat * lat)
        layers.append((both(ball, ellipse(cx, cy + lat, half, 0.55 + abs(lat) * 0.05)), grid))
    # Meridians: the middle one and one pair of ellipses either side of it.
    layers.append((both(ball, ellipse(cx, cy, 0.55, r)), grid))
    rx = r * 0.55
    layers.append((both(ball, without(ellipse(cx, cy, rx + 0.3, r), ellipse(cx, cy, rx - 0.3, r - 0.3))), grid))
    # Night side, so that the ball reads as round.
    layers.append((without(ball, circle(cx - 5.0, cy - 5.0, r + 3.0)), (14, 44, 120)))
    return layers


def floppy():
    body = polygon((3, 3), (26, 3), (29, 6), (29, 29), (3, 29))
    return [
        (polygon((2, 2), (26.5, 2), (30, 5.5), (30, 30), (2, 30)), (10, 14, 30)),
        (body, (40, 56, 120)),
        (rect(9, 3, 23, 12), (190, 196, 206)),
        (rect(9, 3, 23, 3.8), (120, 126, 136)),
        (rect(17.5, 5, 20.5, 10.5), (40, 56, 120)),
        (rect(6, 16, 26, 29), (250, 250, 244)),
        (rect(6, 16, 26, 18.5), (210, 50, 50)),
        (rect(8, 21.5, 24, 22.5), (120, 130, 170)),
        (rect(8, 25, 21, 26), (120, 130, 170)),
        (rect(4, 26, 5, 27.5), (10, 14, 30)),
    ]


def folder():
    outline = (120, 70, 0)
    back = polygon((2, 7), (11, 7), (13.5, 9.5), (27, 9.5), (27, 27), (2, 27))
    paper = polygon((6, 12), (24, 12), (24, 24), (6, 24))
    front = polygon((8, 15), (31, 15), (26, 28), (2, 28))
    return [
        (polygon((1, 6), (11.5, 6), (14, 8.5), (28, 8.5), (28, 28), (1, 28)), outline),
        (back, (226, 170, 40)),
        (paper, (250, 250, 250)),
        (rect(8, 14, 22, 14.8), (150, 150, 160)),
        (polygon((7, 14), (32, 14), (26.6, 29), (1, 29)), outline),
        (front, (252, 214, 90)),
        (polygon((8.6, 16), (29.4, 16), (28.8, 17.5), (8.0, 17.5)), (255, 236, 160)),
    ]


def sign(horizontal_only, dark, mid, light):
    layers = []
    bars = [(3, 12, 29, 20)]
    if not horizontal_only:
        bars.append((12, 3, 20, 29))
    for x0, y0, x1, y1 in bars:
        layers.append((rect(x0 - 1, y0 - 1, x1 + 1, y1 + 1), dark))
    for x0, y0, x1, y1 in bars:
        layers.append((rect(x0, y0, x1, y1), mid))
    for x0, y0, x1, y1 in bars:
        layers.append((rect(x0 + 1, y0 + 1, x1 - 1, y0 + 2.5), light))
    return layers


def plus():
    return sign(False, (0, 80, 0), (30, 170, 40), (120, 230, 120))


def minus():
    return sign(True, (110, 0, 0), (215, 30, 30), (250, 130, 120))


def notepad():
    page = rect(3, 5, 22, 30)
    layers = [
        (rect(2, 4, 23, 31), (60, 60, 70)),
        (page, (255, 252, 220)),
        (rect(3, 5, 22, 8), (200, 60, 50)),
    ]
    for y in (12.5, 16.5, 20.5, 24.5):
        layers.append((rect(5, y, 20, y + 0.9), (90, 130, 210)))
    for x in (6, 11, 16):
        layers.append((segment(x + 1, 2, x + 1, 7.5, 2.0), (70, 70, 80)))
    # The pencil lies across the pad, point at the bottom left.
    ax, ay, bx, by = 12.0, 26.5, 28.5, 10.0
    layers += [
        (segment(ax + 1.8, ay - 1.8, bx, by, 6.4), (60, 40, 10)),
        (segment(ax + 3.0, ay - 3.0, bx - 2.2, by + 2.2, 4.6), (244, 190, 30)),
        (segment(ax + 3.0, ay - 3.0, bx - 2.2, by + 2.2, 1.4), (255, 226, 110)),
        (segment(bx - 2.0, by + 2.0, bx - 0.3, by + 0.3, 4.6), (235, 130, 150)),
        (segment(bx - 3.2, by + 3.2, bx - 2.4, by + 2.4, 4.8), (170, 170, 180)),
        (polygon((ax + 4.6, ay - 1.4), (ax + 1.4, ay - 4.6), (ax - 1.0, ay + 1.0)), (230, 200, 150)),
        (polygon((ax + 1.4, ay - 0.2), (ax + 0.2, ay - 1.4), (ax - 1.0, ay + 1.0)), (40, 40, 40)),
    ]
    return layers


ICONS = [
    ("globe.ico", globe, (32, 16)),
    ("save.ico", floppy, (32,)),
    ("load.ico", folder, (32,)),
    ("add.ico", plus, (32,)),
    ("delete.ico", minus, (32,)),
    ("modify.ico", notepad, (32,)),
]


# ---- rendering and file formats ----


def render(layers, size):
    """Rows of (r, g, b) or None for a transparent pixel."""
    scale = 32.0 / size
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0]
            covered = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) * scale
                    y = (py + (sy + 0.5) / SAMPLES) * scale
                    colour = None
                    for shape, c in layers:
                        if shape(x, y):
                            colour = c
                    if colour is not None:
                        covered += 1
                        for i in range(3):
                            acc[i] += colour[i]
            if covered * 2 < SAMPLES * SAMPLES:
                row.append(None)
            else:
                row.append(tuple(int(round(a / covered)) for a in acc))
        rows.append(row)
    return rows


def dib(rows):
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 24, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for row in reversed(rows):
        line = bytearray()
        bits = bytearray(mask_stride)
        for x, pixel in enumerate(row):
            if pixel is None:
                line += b"\0\0\0"
                bits[x // 8] |= 0x80 >> (x % 8)
            else:
                r, g, b = pixel
                line += bytes((b, g, r))
        line += b"\0" * ((-len(line)) % 4)
        colour += line
        mask += bits
    return header + bytes(colour) + bytes(mask)


def ico(images):
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    blobs = []
    for rows in images:
        blob = dib(rows)
        size = len(rows)
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 24, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    for blob in blobs:
        out += blob
    return bytes(out)


def png(rows, zoom, background):
    height, width = len(rows) * zoom, len(rows[0]) * zoom
    raw = bytearray()
    for row in rows:
        line = bytearray(b"\0")
        for pixel in row:
            line += bytes(pixel if pixel is not None else background) * zoom
        raw += bytes(line) * zoom

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true")
    parser.add_argument("--preview", type=pathlib.Path)
    args = parser.parse_args()

    stale = []
    for name, draw, sizes in ICONS:
        layers = draw()
        images = [render(layers, size) for size in sizes]
        data = ico(images)
        target = ICON_DIR / name
        if args.check:
            if not target.exists() or target.read_bytes() != data:
                stale.append(name)
        else:
            ICON_DIR.mkdir(parents=True, exist_ok=True)
            target.write_bytes(data)
        if args.preview:
            args.preview.mkdir(parents=True, exist_ok=True)
            for rows in images:
                stem = f"{pathlib.Path(name).stem}-{len(rows)}"
                (args.preview / f"{stem}.png").write_bytes(png(rows, 256 // len(rows), (212, 208, 200)))
    if stale:
        print("out of date (run scripts/make-art.py): " + ", ".join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
