"""Builds the user manual BUILD/Mibor8.pdf from Mibor8.md and pictures of the
real program.

Usage (inside scripts/wine-env.sh, on a virtual display): build.py BUILD

The pictures are taken first (screenshots.py); a picture the built program
could not show is left out of the text. pandoc then makes the PDF through
pdflatex, offline, from Debian's packages.
"""
import os
import re
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
    partial = os.path.join(work, "Mibor8.pdf")
    subprocess.run(["pandoc", source_path, "--from", "markdown-smart", "--resource-path", shots,
                    "--pdf-engine", "pdflatex", "--toc", "--number-sections",
                    "-V", "geometry:a4paper,margin=2cm", "-V", "colorlinks", "-V", "fontsize=11pt",
                    "--output", partial], check=True, cwd=work)
    os.replace(partial, pdf)
    print("manual written to " + pdf)


if __name__ == "__main__":
    main()
