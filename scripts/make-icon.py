#!/usr/bin/env python3
"""Writes a Windows .ico (16 x 16 and 32 x 32, 32-bit) from a text picture.

Usage: make-icon.py PICTURE.txt OUT.ico
The picture has 16 rows of 16 characters; lines starting with # are comments.
"""
import struct
import sys

PALETTE = {
    'k': (0, 0, 0), 'w': (255, 255, 255), 'b': (0, 64, 220), 'r': (220, 0, 0),
    'g': (0, 160, 0), 'y': (255, 220, 0), 'e': (128, 128, 128),
}


def read_picture(path):
    rows = [line.rstrip('\n') for line in open(path) if not line.startswith('#')]
    rows = [row for row in rows if row]
    if len(rows) != 16 or any(len(row) != 16 for row in rows):
        sys.exit(f"{path}: expected 16 rows of 16 characters")
    return rows


def image_entry(rows, scale):
    size = 16 * scale
    pixels = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    # Bottom-up rows, as bitmaps are stored.
    for y in reversed(range(size)):
        mask_row = bytearray(mask_stride)
        for x in range(size):
            c = rows[y // scale][x // scale]
            if c in PALETTE:
                r, g, b = PALETTE[c]
                pixels += bytes((b, g, r, 255))
            else:
                pixels += bytes((0, 0, 0, 0))
                mask_row[x // 8] |= 0x80 >> (x % 8)
        mask += mask_row
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return size, header + pixels + mask


def main():
    rows = read_picture(sys.argv[1])
    entries = [image_entry(rows, 1), image_entry(rows, 2)]
    out = struct.pack('<HHH', 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    data = b''
    for size, blob in entries:
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(blob), offset + len(data))
        data += blob
    with open(sys.argv[2], 'wb') as f:
        f.write(out + data)


main()
