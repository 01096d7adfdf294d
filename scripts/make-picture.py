#!/usr/bin/env python3
"""Writes the image viewer's built-in picture, a 24-bit .bmp, from a text picture.

Usage: make-picture.py PICTURE.txt OUT.bmp
The picture has 25 rows of 64 characters (lines starting with # are comments);
each character is a 7 x 7 block of the 448 x 175 bitmap. Sky ('-'), grass ('g')
and water ('b') shade from their top to their bottom colour down the picture.
"""
import struct
import sys

BLOCK = 7
WIDTH, HEIGHT = 64, 25
SOLID = {'w': (245, 245, 250), 'e': (118, 116, 128), 'y': (255, 214, 64), 'd': (44, 62, 32)}
SHADED = {'-': ((66, 124, 206), (196, 222, 246)), 'g': ((92, 160, 60), (50, 112, 36)),
          'b': ((70, 120, 180), (18, 46, 96))}


def read_picture(path):
    rows = [line.rstrip('\n') for line in open(path) if not line.startswith('#')]
    rows = [row for row in rows if row]
    if len(rows) != HEIGHT or any(len(row) != WIDTH for row in rows):
        sys.exit(f"{path}: expected {HEIGHT} rows of {WIDTH} characters")
    return rows


def colour(c, y):
    if c in SOLID:
        return SOLID[c]
    if c not in SHADED:
        sys.exit(f"unknown picture character {c!r}")
    top, bottom = SHADED[c]
    t = y / (HEIGHT * BLOCK - 1)
    return tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))


def main():
    rows = read_picture(sys.argv[1])
    width, height = WIDTH * BLOCK, HEIGHT * BLOCK
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for y in reversed(range(height)):  # bitmaps store the bottom row first
        line = bytearray()
        for x in range(width):
            r, g, b = colour(rows[y // BLOCK][x // BLOCK], y)
            line += bytes((b, g, r))
        pixels += line + bytes(stride - len(line))
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack('<2sIHHI', b'BM', 14 + len(header) + len(pixels), 0, 0, 14 + len(header))
    with open(sys.argv[2], 'wb') as f:
        f.write(file_header + header + pixels)


main()
