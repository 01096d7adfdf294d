"""Printing 100, 200 and 400 pages of plain text on a PDF printer, beside the
floor: a bare program that has a rich edit control of the editor's class
print the same text on the same printer (print_floor.cpp).

Usage: bench.py BUILD_DIR   (inside scripts/wine-env.sh)

The printer is "PDF" of a CUPS server the benchmark starts and stops
(tests/printing/cups_printer.py). For each size, print_bench.exe fills the
hidden main window in plain mode with numbered lines, PAGES pages' worth,
writes them as RTF for the floor, and times the print command (dialog
confirmed on the default printer) until the job is handed to the spooler
(EndDoc returned); then print_floor.exe loads that RTF into its own control,
a page wide, and times the same, from asking for the printer to EndDoc. The
floor's text is laid out before its clock starts; the editor's copy of the
text at the page's width is inside its time. Afterwards every PDF is read
back: the page count, and every line once and in order.

Growth: the factor that doubling the pages costs (linear = 2.0, goal <= 2.2).
Goal: the print command at most 1.1 times the floor.
"""
import math
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "..", "tests", "e2e"))
sys.path.insert(0, os.path.join(here, "..", "..", "tests", "printing"))
from cups_printer import CupsServer, pdf_info, pdf_text, start_or_say_why  # noqa: E402
from harness import run_command  # noqa: E402

SIZES = [100, 200, 400]
FOLDER = "C:\\bench-printing"


def figures(output):
    return {k.strip(): v.strip() for k, v in (line.split("=", 1) for line in output.splitlines() if "=" in line)}


def run(build, program, *args):
    code, output = run_command(["wine", os.path.join(build, "tests", program), *args], timeout=3000)
    if code != 0:
        raise SystemExit("%s failed (%d): %s" % (program, code, output))
    return figures(output)


def check_pdf(path, pages, lines):
    """Raises unless the PDF has `pages` pages holding lines 1..`lines` once each, in order."""
    count = int(pdf_info(path).get("Pages", "0"))
    if count != pages:
        raise SystemExit("%s: %d pages, not %d" % (path, count, pages))
    numbers = []
    for line in pdf_text(path).split("\n"):
        if line.strip().startswith("Line "):
            numbers.append(int(line.split()[1]))
    if numbers != list(range(1, lines + 1)):
        raise SystemExit("%s: the lines printed are not 1 to %d once each in order" % (path, lines))


def main():
    build = os.path.abspath(sys.argv[1])
    server = CupsServer(build, name="cups-bench")
    reason = start_or_say_why(server)
    if reason:
        print("printing: skipped, " + reason)
        return 0
    os.environ.update(server.env())
    os.makedirs(os.path.join(os.environ["WINEPREFIX"], "drive_c", "bench-printing"), exist_ok=True)
    results = {}
    try:
        for pages in SIZES:
            rtf = "%s\\%d.rtf" % (FOLDER, pages)
            ours = run(build, "print_bench.exe", str(pages), rtf)
            if ours.get("boxes") != "0":
                raise SystemExit("the print command showed a message for %d pages" % pages)
            floor = run(build, "print_floor.exe", rtf)
            results[pages] = (float(ours["seconds"]), float(floor["seconds"]), int(ours["lines"]),
                              int(floor["pages"]), floor["native"])
        # Each file's name ends in its job's number; the jobs came in turn,
        # the command's and then the floor's for each size.
        pdfs = sorted(server.wait_for_pdfs(2 * len(SIZES), seconds=1800),
                      key=lambda path: int(path.rsplit("_", 1)[1].split(".")[0]))
        if len(pdfs) != 2 * len(SIZES):
            raise SystemExit("%d PDF files for %d jobs" % (len(pdfs), 2 * len(SIZES)))
        for i, pages in enumerate(SIZES):
            lines, floor_pages = results[pages][2], results[pages][3]
            if floor_pages != pages:
                raise SystemExit("the floor made %d pages of %d" % (floor_pages, pages))
            check_pdf(pdfs[2 * i], pages, lines)
            check_pdf(pdfs[2 * i + 1], pages, lines)
    finally:
        server.stop()

    print("printing: seconds until the job is handed to the spooler, PDF printer of a CUPS server of our own")
    print("  %-28s" % "pages" + "".join("%10d" % p for p in SIZES))
    print("  %-28s" % "lines" + "".join("%10d" % results[p][2] for p in SIZES))
    print("  %-28s" % "print command" + "".join("%10.2f" % results[p][0] for p in SIZES))
    print("  %-28s" % "floor (bare RICHEDIT)" + "".join("%10.2f" % results[p][1] for p in SIZES))
    print("  %-28s" % "command / floor (goal 1.1)" + "".join("%10.2f" % (results[p][0] / results[p][1]) for p in SIZES))
    for label, k in (("print command", 0), ("floor", 1)):
        steps = ["%d->%d: %.2f" % (a, b, 2 ** (math.log(results[b][k] / results[a][k]) / math.log(b / a)))
                 for a, b in zip(SIZES, SIZES[1:])]
        print("  growth per doubling, %s (goal 2.2): %s" % (label, ", ".join(steps)))
    print("  EM_FORMATRANGE of the control answers %s: it formats no pages here" % results[SIZES[0]][4]
          if results[SIZES[0]][4] == "0" else "  EM_FORMATRANGE of the control formats pages")
    print("  every PDF read back: the page count, and every line once and in order")
    return 0


if __name__ == "__main__":
    sys.exit(main())
