"""Makes the picture samples of the image viewer's tests with ImageMagick and
libjpeg-turbo's cjpeg and djpeg, and djpeg's decoding of every JPEG sample as
the reference the viewer's pixels are compared with.

Usage: make_samples.py FOLDER
Bitmaps, icons, metafiles and damaged files of other kinds are made by the
test program itself through the system's graphics calls.
"""
import os
import shutil
import subprocess
import sys

CONVERT = "/usr/bin/convert"  # ImageMagick's own


def run(*args, stdout=None):
    subprocess.run(args, check=True, stdout=stdout)


def jpeg_segments(data):
    """The offsets of the start-of-scan markers of a JPEG file."""
    offsets, i = [], 2
    while i + 4 <= len(data):
        if data[i] != 0xFF:
            i += 1
            continue
        marker = data[i + 1]
        if marker == 0xDA:
            offsets.append(i)
        if marker in (0xD8, 0xD9, 0x01) or 0xD0 <= marker <= 0xD7 or marker in (0x00, 0xFF):
            i += 2 if marker != 0xFF else 1
            continue
        if marker == 0xDA or marker < 0xC0:
            i += 2
            continue
        i += 2 + (data[i + 2] << 8 | data[i + 3])
    return offsets


def many_scans(folder):
    """A grey progressive JPEG of 100 valid scans (the most cjpeg writes: the
    first bands refined bit by bit), and one of 5,000 scans made by repeating
    its last scan."""
    lines = ["0: 0 0 0 10;"] + ["0: 0 0 %d %d;" % (a + 1, a) for a in range(9, -1, -1)]
    for k in range(1, 9):
        lines.append("0: %d %d 0 10;" % (k, k))
        lines += ["0: %d %d %d %d;" % (k, k, a + 1, a) for a in range(9, -1, -1)]
    lines.append("0: 9 63 0 0;")
    script = os.path.join(folder, "scans.txt")
    with open(script, "w") as f:
        f.write("\n".join(lines) + "\n")
    valid = os.path.join(folder, "scans-100.jpg")
    run("cjpeg", "-grayscale", "-scans", script, "-outfile", valid, os.path.join(folder, "small.ppm"))
    data = open(valid, "rb").read()
    starts = jpeg_segments(data)
    last = data[starts[-1]:-2]
    repeated = data[:-2] + last * (5000 - len(starts)) + b"\xff\xd9"
    with open(os.path.join(folder, "scans-5000.jpg"), "wb") as f:
        f.write(repeated)
    return len(starts)


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    photo = os.path.join(folder, "photo.ppm")
    run(CONVERT, "-size", "61x47", "-seed", "4", "plasma:red-blue", "-blur", "0x1", photo)
    run(CONVERT, "-size", "24x16", "gradient:white-black", os.path.join(folder, "small.ppm"))
    jpegs = {
        "baseline.jpg": ["cjpeg", "-quality", "85"],
        "progressive.jpg": ["cjpeg", "-progressive"],
        "grey.jpg": ["cjpeg", "-grayscale"],
        "upsampled.jpg": ["cjpeg", "-sample", "2x2"],
    }
    for name, command in jpegs.items():
        run(*command, "-outfile", os.path.join(folder, name), photo)
    run(CONVERT, photo, "-colorspace", "CMYK", "-quality", "90", os.path.join(folder, "cmyk.jpg"))
    shutil.copy(os.path.join(folder, "baseline.jpg"), os.path.join(folder, "upper.JPG"))
    shutil.copy(os.path.join(folder, "baseline.jpg"), os.path.join(folder, "mixed.Jpeg"))
    for name in list(jpegs) + ["cmyk.jpg"]:
        run("djpeg", "-ppm", "-outfile", os.path.join(folder, name + ".ref"), os.path.join(folder, name))

    # ImageMagick's bitmaps and icons: run-length pixels, several icon sizes.
    run(CONVERT, photo, "-colors", "64", "-compress", "RLE", "BMP3:" + os.path.join(folder, "rle8.bmp"))
    run(CONVERT, photo, "-resize", "48x48!", "-define", "icon:auto-resize=16,32,48",
        os.path.join(folder, "sizes.ico"))
    run(CONVERT, photo, os.path.join(folder, "picture.gif"))

    # Damaged JPEG files.
    data = open(os.path.join(folder, "baseline.jpg"), "rb").read()
    with open(os.path.join(folder, "cut.jpg"), "wb") as f:
        f.write(data[:len(data) // 2])
    changed = bytearray(data)
    for i in range(2, 40):
        changed[i] = (changed[i] * 7 + 13) & 0xFF
    with open(os.path.join(folder, "changed.jpg"), "wb") as f:
        f.write(changed)
    scans = many_scans(folder)
    print("samples in %s (%d valid scans)" % (folder, scans))


main()
