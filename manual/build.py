"""Builds the user manual BUILD/Mibor8.pdf from Mibor8.md and pictures of the
real program.

Usage (inside scripts/wine-env.sh, on a virtual display): build.py BUILD

BUILD/manual/made.stamp says when the pictures were last taken; the PDF is
written again only when what they show or the text changed.

The pictures are taken first (screenshots.py); a picture the built program
could not show is left out of the text. pandoc then makes the PDF through
pdflatex, offline, from Debian's packages.
"""
import hashlib
import os
import re
import struct
import subprocess
import sys

import screenshots

HERE = os.path.dirname(os.path.abspath(__file__))


def keep_taken_pictures(text, taken):
    """The text without the pictures (lines of their own) that were not taken."""
    picture = re.compile(r"^!\[[^\]]*\]\(([^)]+)\)\s*$")
    kept = []
    for line in text.splitlines():
        match = picture.match(line)
        if match and match.group(1) not in taken:
            print("left out: " + match.group(1))
            continue
        kept.append(line)
    return "\n".join(kept) + "\n"


def picture_data(path):
    """The pixel data of a PNG file (its IDAT chunks): the same picture taken
    again gives the same bytes, whatever time the file was written."""
    data = hashlib.sha256()
    with open(path, "rb") as f:
        f.read(8)
        while True:
            head = f.read(8)
            if len(head) < 8:
                break
            length, kind = struct.unpack(">I4s", head)
            body = f.read(length + 4)
            if kind == b"IDAT":
                data.update(body[:length])
    return data.hexdigest()


def what_it_shows(text, shots, taken):
    """A stamp of the manual's text and of what its pictures show."""
    stamp = hashlib.sha256(text.encode("utf-8"))
    for name in sorted(taken):
        stamp.update((name + picture_data(os.path.join(shots, name))).encode("ascii"))
    return stamp.hexdigest()


def main():
    build = os.path.abspath(sys.argv[1])
    work = os.path.join(build, "manual")
    shots = os.path.join(work, "shots")
    taken = {name + ".png" for name, _, _ in screenshots.take(build, shots)}
    with open(os.path.join(HERE, "Mibor8.md"), encoding="utf-8") as source:
        text = keep_taken_pictures(source.read(), taken)
    source_path = os.path.join(work, "Mibor8.md")
    with open(source_path, "w", encoding="utf-8") as out:
        out.write(text)
    pdf = os.path.join(build, "Mibor8.pdf")
    # The PDF is made again only when the text or a picture changed: a new
    # build of the program that looks the same leaves it (and the setup
    # program made from it) as it is.
    stamp_path = os.path.join(work, "shown.stamp")
    stamp = what_it_shows(text, shots, taken)
    if os.path.exists(pdf) and os.path.exists(stamp_path):
        with open(stamp_path) as f:
            if f.read() == stamp:
                print("manual unchanged: " + pdf)
                return
    partial = os.path.join(work, "Mibor8.pdf")
    subprocess.run(["pandoc", source_path, "--from", "markdown-smart", "--resource-path", shots,
                    "--pdf-engine", "pdflatex", "--toc", "--number-sections",
                    "-V", "geometry:a4paper,margin=2cm", "-V", "colorlinks", "-V", "fontsize=11pt",
                    "--output", partial], check=True, cwd=work)
    os.replace(partial, pdf)
    with open(stamp_path, "w") as f:
        f.write(stamp)
    print("manual written to " + pdf)


if __name__ == "__main__":
    main()
    with open(os.path.join(os.path.abspath(sys.argv[1]), "manual", "made.stamp"), "w"):
        pass
