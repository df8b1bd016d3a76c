#!/usr/bin/env python3
"""Makes the desktop icon: the biker of the game's assets on a tile of sky and grass, as PNG files
of the sizes that desktop menus ask for.

Usage: tools/gen_icons.py [OUTPUT_FOLDER]   (default: desktop/icons/ beside this folder)

Writes quillerby-SIZE.png for each size. Only the standard library is used (the PNG is written
with zlib and struct), and the output is the same on every run.
"""

import os
import struct
import sys
import zlib

from gen_assets import GRASS, GRASS_DARK, GRASS_TOP, DIRT, SKY, SKY_LIGHT, Picture, draw_biker, mix

SIZES = (16, 32, 48, 64, 128, 256)


def rounded_square(size, margin, radius):
    low, high = margin, size - margin

    def inside(x, y):
        cx = min(max(x, low + radius), high - radius)
        cy = min(max(y, low + radius), high - radius)
        return low <= x <= high and low <= y <= high and (x - cx) ** 2 + (y - cy) ** 2 <= radius**2

    return inside


def coverage(size, inside):
    """How much of each pixel the shape covers, 0 to 255, sampled 4 by 4 per pixel."""
    def covered(x, y):
        samples = ((x + (sx + 0.5) / 4, y + (sy + 0.5) / 4) for sy in range(4) for sx in range(4))
        hits = sum(inside(*sample) for sample in samples)
        return round(255 * hits / 16)

    return [[covered(x, y) for x in range(size)] for y in range(size)]


def icon(size):
    pic = Picture(size, size, SKY)
    ground = size * 0.78
    for y in range(size):
        for x in range(size):
            pic.set(x, y, mix(SKY_LIGHT, SKY, y / ground) if y < ground else DIRT)
    band = size * 0.07
    pic.paint(lambda x, y: ground <= y < ground + band * 0.25, GRASS_TOP)
    pic.paint(lambda x, y: ground + band * 0.25 <= y < ground + band, GRASS)
    pic.paint(lambda x, y: ground + band <= y < ground + band * 1.3, GRASS_DARK)
    scale = size * 0.8 / 30
    draw_biker(pic, scale, (size - 30 * scale) / 2, ground - 29.6 * scale)
    alpha = coverage(size, rounded_square(size, size / 32, size * 0.18))
    return pic, alpha


def to_png(pic, alpha):
    rows = b"".join(
        b"\0" + b"".join(bytes((*pic.get(x, y), alpha[y][x])) for x in range(pic.width))
        for y in range(pic.height)
    )

    def chunk(kind, data):
        crc = struct.pack(">I", zlib.crc32(kind + data))
        return struct.pack(">I", len(data)) + kind + data + crc

    header = struct.pack(">IIBBBBB", pic.width, pic.height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (
        b"\x89PNG\r\n\x1a\n"
        + chunk(b"IHDR", header)
        + chunk(b"IDAT", zlib.compress(rows, 9))
        + chunk(b"IEND", b"")
    )


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "desktop", "icons")
    os.makedirs(folder, exist_ok=True)
    for size in SIZES:
        with open(os.path.join(folder, "quillerby-%d.png" % size), "wb") as out:
            out.write(to_png(*icon(size)))


if __name__ == "__main__":
    main()
