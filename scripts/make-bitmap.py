#!/usr/bin/env python3
"""Writes a 24-bit Windows bitmap from text pictures, side by side in one strip.

Usage: make-bitmap.py WIDTH HEIGHT PICTURES.txt OUT.bmp
Each picture has HEIGHT rows of WIDTH characters, one palette character a pixel
('.' and unknown characters are transparent: magenta). Lines starting with #
and empty lines separate the pictures.
"""
import struct
import sys

TRANSPARENT = (255, 0, 255)
PALETTE = {
    'k': (0, 0, 0), 'w': (255, 255, 255), 'e': (128, 128, 128), 's': (192, 192, 192),
    'l': (224, 224, 224), 'r': (220, 0, 0), 'm': (128, 0, 0), 'g': (0, 160, 0),
    'n': (0, 96, 0), 'b': (0, 64, 220), 'd': (0, 0, 128), 'c': (0, 160, 200),
    'y': (255, 220, 0), 'o': (240, 140, 0), 'u': (140, 90, 40), 'p': (150, 0, 150),
    'q': (255, 250, 200),
}


def read_pictures(path, width, height):
    pictures, current = [], []
    for number, line in enumerate(open(path), 1):
        line = line.rstrip('\n')
        if line.startswith('#') or not line:
            if current:
                pictures.append(current)
                current = []
            continue
        if len(line) != width:
            sys.exit(f"{path}:{number}: a row of {len(line)} characters, not {width}")
        current.append(line)
    if current:
        pictures.append(current)
    for picture in pictures:
        if len(picture) != height:
            sys.exit(f"{path}: a picture of {len(picture)} rows, not {height}")
    return pictures


def bitmap(pictures, width, height):
    return bmp_file(width * len(pictures), height,
                    lambda x, y: PALETTE.get(pictures[x // width][y][x % width], TRANSPARENT))


def bmp_file(width, height, pixel):
    """A 24-bit bitmap file; pixel(x, y) gives (red, green, blue), y from the top."""
    stride = (width * 3 + 3) // 4 * 4
    rows = bytearray()
    for y in reversed(range(height)):  # bottom-up, as bitmaps are stored
        row = bytearray()
        for x in range(width):
            red, green, blue = pixel(x, y)
            row += bytes((blue, green, red))
        rows += row + bytes(stride - len(row))
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(rows), 0, 0, 14 + len(info))
    return header + info + rows


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    width, height = int(sys.argv[1]), int(sys.argv[2])
    pictures = read_pictures(sys.argv[3], width, height)
    with open(sys.argv[4], 'wb') as out:
        out.write(bitmap(pictures, width, height))


if __name__ == '__main__':
    main()
