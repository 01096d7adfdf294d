"""Opening a 3000 x 3000 photo-like JPEG, baseline and progressive, into a
finished picture in the image viewer's loader, beside Debian's djpeg (the same
libjpeg-turbo version) decoding the same file in the same run.

Usage: bench.py BUILD_DIR   (inside scripts/wine-env.sh)

The loader's time is measured inside picture_bench.exe under Wine around
LoadPictureFile (read, decode, bitmap), the fastest of several rounds; djpeg's
is the fastest wall time of as many runs writing a .bmp to /dev/shm (its
process start included, some milliseconds). The run checks that the loader's
pixels equal djpeg's byte for byte. Goal: at most 1.5 x djpeg.
"""
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tests", "e2e"))
from harness import run_command  # noqa: E402

CONVERT = "/usr/bin/convert"
ROUNDS = 7


def bitmap_pixels(path):
    data = open(path, "rb").read()
    offset = int.from_bytes(data[10:14], "little")
    width = int.from_bytes(data[18:22], "little", signed=True)
    height = int.from_bytes(data[22:26], "little", signed=True)
    return width, height, data[offset:offset + ((width * 3 + 3) & ~3) * abs(height)]


def djpeg_best(jpeg, out):
    best = 1e9
    for _ in range(ROUNDS):
        start = time.perf_counter()
        subprocess.run(["djpeg", "-bmp", "-outfile", out, jpeg], check=True)
        best = min(best, time.perf_counter() - start)
    return best


def main():
    build = os.path.abspath(sys.argv[1])
    exe = os.path.join(build, "tests", "picture_bench.exe")
    work = tempfile.mkdtemp(prefix="mibor8-picture-bench-", dir="/dev/shm")
    photo = os.path.join(work, "photo.ppm")
    # Photo-like: a smooth fractal landscape of colour with fine noise on it.
    subprocess.run([CONVERT, "-size", "3000x3000", "-seed", "11", "plasma:fractal", "-blur", "0x2",
                    "-attenuate", "0.3", "+noise", "Gaussian", photo], check=True)
    print("imageviewer: opening a 3000 x 3000 JPEG into a finished picture, seconds (fastest of %d)" % ROUNDS)
    print("  %-12s %10s %10s %8s  %s" % ("", "viewer", "djpeg", "ratio", "pixels"))
    failed = False
    for name, options in (("baseline", []), ("progressive", ["-progressive"])):
        jpeg = os.path.join(work, name + ".jpg")
        subprocess.run(["cjpeg", "-quality", "90", *options, "-outfile", jpeg, photo], check=True)
        reference = os.path.join(work, name + "-djpeg.bmp")
        ours = os.path.join(work, name + "-viewer.bmp")
        peer = djpeg_best(jpeg, reference)
        windows_jpeg = "Z:" + jpeg.replace("/", "\\")
        code, output = run_command(["wine", exe, windows_jpeg, str(ROUNDS), "Z:" + ours.replace("/", "\\")],
                                   timeout=600)
        if code != 0:
            raise SystemExit("picture_bench failed: " + output)
        viewer = float(output.split()[0])
        same = bitmap_pixels(reference) == bitmap_pixels(ours)
        failed |= not same
        print("  %-12s %10.3f %10.3f %7.2fx  %s" % (name, viewer, peer, viewer / peer,
                                                    "identical" if same else "DIFFERENT"))
    subprocess.run(["rm", "-rf", work])
    if failed:
        raise SystemExit("the viewer's pixels differ from djpeg's")


main()
