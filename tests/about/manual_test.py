"""The user manual beside the built program (make test puts it there): a
title, enough pages, every caption of the main menu, and pictures that are
the program's own windows and not blank."""
import os
import subprocess
import sys
import tempfile

MENU_CAPTIONS = [
    "File", "New", "Open...", "Re-open last file", "Save", "Save as...", "Send as e-mail...", "Print...", "Exit",
    "Edit", "Undo / Redo", "Cut", "Copy", "Copy all", "Paste", "10 X Paste", "Select all", "Clear selection",
    "Insert Euro-sign", "Show/Hide Find toolbar",
    "Tools", "Plain text mode", "Rich text mode", "Import wordlist...", "Export wordlist...", "Empty wordlist...",
    "Image Viewer...", "Preferences...",
    "Help", "Help...", "Associate with Mibor8", ".txt", ".rtf", "About...",
]


def output(*args):
    return subprocess.run(args, check=True, capture_output=True, text=True).stdout


def main():
    build = sys.argv[1]
    pdf = os.path.join(build, "Mibor8.pdf")
    failures = []
    if not os.path.exists(pdf):
        print("%s is missing: `make test` or `make manual` builds it" % pdf)
        sys.exit(1)

    info = dict(line.split(":", 1) for line in output("pdfinfo", pdf).splitlines() if ":" in line)
    title, pages = info.get("Title", "").strip(), int(info.get("Pages", "0"))
    if not title:
        failures.append("the manual has no title")
    if pages < 8:
        failures.append("the manual has %d pages" % pages)

    # Words may be broken across lines: look in the text with its lines joined both ways.
    text = output("pdftotext", "-enc", "UTF-8", pdf, "-")
    joined = " ".join(text.split())
    for caption in MENU_CAPTIONS:
        if caption not in joined and caption.replace(" ", "") not in "".join(text.split()):
            failures.append("no menu caption %r in the text" % caption)

    # Each picture has the size of one the program showed, and is not blank.
    shots = {}
    with open(os.path.join(build, "manual", "shots", "manifest.txt")) as manifest:
        for line in manifest:
            name, width, height = line.split()
            shots[(int(width), int(height))] = name
    images = [line.split() for line in output("pdfimages", "-list", pdf).splitlines()[2:]]
    sizes = [(int(fields[3]), int(fields[4])) for fields in images if fields[2] == "image"]
    if len(sizes) < 10:
        failures.append("only %d pictures" % len(sizes))
    if ("main-window.png" not in shots.values()) or ("about.png" not in shots.values()):
        failures.append("the main window or the About box was not photographed: %r" % sorted(shots.values()))
    for size in sizes:
        if size not in shots:
            failures.append("a picture of %dx%d is none of the program's" % size)
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run(["pdfimages", "-png", pdf, os.path.join(folder, "picture")], check=True)
        for name in sorted(os.listdir(folder)):
            colours, deviation = output("identify", "-format", "%k %[fx:standard_deviation]",
                                        os.path.join(folder, name)).split()
            if int(colours) < 4 or float(deviation) < 0.02:
                failures.append("%s is blank (%s colours, deviation %s)" % (name, colours, deviation))

    for failure in failures:
        print("[FAIL] " + failure)
    print("%s: %d pages, %d pictures" % (title, pages, len(sizes)))
    sys.exit(1 if failures else 0)


main()
