#!/usr/bin/env python3
"""Writes a 24-bit Windows bitmap from text pictures, side by side in one strip.

Usage: make-bitmap.py WIDTH HEIGHT PICTURES.txt OUT.bmp [SCALE]
Each picture has HEIGHT rows of WIDTH characters, one palette character a pixel
('.' and unknown characters are transparent: magenta). Lines starting with #
and empty lines separate the pictures. SCALE (2 or 1.5) draws each picture that
much larger for displays of 192 or 144 DPI, by rules that keep its edges
sharp: every pixel becomes 2x2 (or 3x3, of which every other row and column is
kept), and where two neighbours of a pixel are the same colour across its
corner, the corner takes their colour, so that slopes stay slopes instead of
becoming stairs (the rules known as Scale2x and Scale3x).
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


def scale2x(picture):
    height, width = len(picture), len(picture[0])
    at = lambda x, y, p: picture[y][x] if 0 <= x < width and 0 <= y < height else p
    out = [[''] * (2 * width) for _ in range(2 * height)]
    for y in range(height):
        for x in range(width):
            p = picture[y][x]
            a, b, c, d = at(x, y - 1, p), at(x + 1, y, p), at(x - 1, y, p), at(x, y + 1, p)
            out[2 * y][2 * x] = a if c == a and c != d and a != b else p
            out[2 * y][2 * x + 1] = b if a == b and a != c and b != d else p
            out[2 * y + 1][2 * x] = c if d == c and d != b and c != a else p
            out[2 * y + 1][2 * x + 1] = d if b == d and b != a and d != c else p
    return [''.join(row) for row in out]


def scale3x(picture):
    height, width = len(picture), len(picture[0])
    at = lambda x, y, p: picture[y][x] if 0 <= x < width and 0 <= y < height else p
    out = [[''] * (3 * width) for _ in range(3 * height)]
    for y in range(height):
        for x in range(width):
            e = picture[y][x]
            a, b, c = at(x - 1, y - 1, e), at(x, y - 1, e), at(x + 1, y - 1, e)
            d, f = at(x - 1, y, e), at(x + 1, y, e)
            g, h, i = at(x - 1, y + 1, e), at(x, y + 1, e), at(x + 1, y + 1, e)
            cells = [
                d if d == b and b != f and d != h else e,
                b if (d == b and b != f and d != h and e != c) or (b == f and b != d and f != h and e != a) else e,
                f if b == f and b != d and f != h else e,
                d if (d == b and b != f and d != h and e != g) or (d == h and d != b and h != f and e != a) else e,
                e,
                f if (b == f and b != d and f != h and e != i) or (h == f and d != h and b != f and e != c) else e,
                d if d == h and d != b and h != f else e,
                h if (d == h and d != b and h != f and e != i) or (h == f and d != h and b != f and e != g) else e,
                f if h == f and d != h and b != f else e,
            ]
            for k, cell in enumerate(cells):
                out[3 * y + k // 3][3 * x + k % 3] = cell
    return [''.join(row) for row in out]


def scaled(picture, scale):
    if scale == '2':
        return scale2x(picture)
    if scale == '1.5':
        big = scale3x(picture)
        return [row[::2] for row in big[::2]]
    sys.exit(f"unknown scale {scale}")


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
    if len(sys.argv) not in (5, 6):
        sys.exit(__doc__)
    width, height = int(sys.argv[1]), int(sys.argv[2])
    pictures = read_pictures(sys.argv[3], width, height)
    if len(sys.argv) == 6:
        pictures = [scaled(picture, sys.argv[5]) for picture in pictures]
        width, height = len(pictures[0][0]), len(pictures[0])
    with open(sys.argv[4], 'wb') as out:
        out.write(bitmap(pictures, width, height))


if __name__ == '__main__':
    main()
