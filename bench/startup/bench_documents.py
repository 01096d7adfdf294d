"""Starting with a long plain-text file on the command line, beside Wine's
wordpad.exe, and the switches to plain and to rich mode on a long document;
then starting with 10 MB of UTF-8 text in Cyrillic and 10 MB of ANSI text
(code page 1252, accented letters), beside wordpad with the same files.

A start is timed by the test driver inside Wine from CreateProcess until the
program's window is idle with the file's name in its caption and a rich edit
control holding the whole text: a refused or empty load never counts. The two
programs start in turn (A B A B ...); figures are medians.

Usage: bench_documents.py BUILD_DIR   (inside scripts/wine-env.sh)
"""
import math
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tests", "e2e"))
from harness import Wine, run_command  # noqa: E402

RUNS = 3
SIZES_MB = [1, 5, 10, 20]
WORDPAD = "C:\\Program Files\\Windows NT\\Accessories\\wordpad.exe"
LINE = ("The quick brown fox jumps over the lazy dog. " * 2)[:89] + "\r\n"


def document(wine, megabytes):
    path = "C:\\bench\\doc-%d-mb.txt" % megabytes
    text = LINE * (megabytes * 1024 * 1024 // len(LINE))
    wine.write_file(path, text.encode("ascii"))
    # The editors count a line break as one or two characters: the lines are the floor.
    return path, len(text) - text.count("\r\n")


CYRILLIC = "\u0421\u044a\u0435\u0448\u044c \u0436\u0435 \u0435\u0449\u0451 \u044d\u0442\u0438\u0445 \u043c\u044f\u0433\u043a\u0438\u0445 \u0444\u0440\u0430\u043d\u0446\u0443\u0437\u0441\u043a\u0438\u0445 \u0431\u0443\u043b\u043e\u043a, \u0434\u0430 \u0432\u044b\u043f\u0435\u0439 \u0447\u0430\u044e. "
ACCENTED = "Voix ambigu\u00eb d'un c\u0153ur qui au z\u00e9phyr pr\u00e9f\u00e8re les jattes de kiwis. \u00c0 bient\u00f4t. "


def encoded_document(wine, name, sentence, encoding, megabytes=10):
    """A file of lines made of `sentence`, in `encoding`; its path and the characters it holds."""
    line = (sentence * 3)[:88] + "\r\n"
    data = line.encode(encoding)
    count = megabytes * 1024 * 1024 // len(data)
    path = "C:\\bench\\" + name
    wine.write_file(path, data * count)
    return path, (len(line) - 2) * count


def doc_time(wine, program, path, length):
    name = path.rsplit("\\", 1)[-1]
    code, output = run_command(["wine", wine.driver_exe, "doctime", name, str(length), program, path], timeout=1800)
    if code != 0:
        raise RuntimeError("%s did not show %s: %s" % (program, path, output.strip()))
    run_command(["wineserver", "-w"], timeout=300)
    return float(output.strip().splitlines()[-1]) / 1000


def mode_switches(wine, exe, path, length):
    """Seconds for plain mode (F2) and rich mode (F3), by their toolbar
    buttons, with the document shown, each from the other mode."""
    program = subprocess.Popen(["wine", wine.exe, path], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        name = path.rsplit("\\", 1)[-1]
        deadline = time.time() + 600
        while name not in wine.driver("title", "TForm1", check_ok=False):
            if time.time() > deadline:
                raise RuntimeError("the document did not open")
            time.sleep(0.5)
        wine.driver("wait", "TForm1", "600")
        times = []
        for item in ("Rich text mode", "Plain text mode", "Rich text mode"):
            times.append(float(wine.driver("buttontime", "TForm1", item).strip()) / 1000)
        return times[1:]
    finally:
        wine.driver("close", "TForm1", check_ok=False)
        program.wait(timeout=300)
        run_command(["wineserver", "-w"], timeout=300)


def main():
    wine = Wine(sys.argv[1])
    exe = "Z:" + wine.exe.replace("/", "\\")
    wine.reg_delete_key()
    run_command(["wine", wine.driver_exe, "starttime", exe], timeout=600)  # writes the store
    if sys.argv[2:] == ["encodings"]:
        encodings(wine, exe)
        return
    ours, theirs = {}, {}
    for megabytes in SIZES_MB:
        path, length = document(wine, megabytes)
        a, b = [], []
        for _ in range(RUNS):
            a.append(doc_time(wine, exe, path, length))
            b.append(doc_time(wine, WORDPAD, path, length))
        ours[megabytes], theirs[megabytes] = statistics.median(a), statistics.median(b)

    print("start-up with a plain-text file until it is shown, seconds, median of %d starts in turn:" % RUNS)
    print("  %-22s" % "MB" + "".join("%9d" % m for m in SIZES_MB))
    print("  %-22s" % "Mibor8" + "".join("%9.2f" % ours[m] for m in SIZES_MB))
    print("  %-22s" % "wordpad" + "".join("%9.2f" % theirs[m] for m in SIZES_MB))
    print("  %-22s" % "Mibor8 / wordpad" + "".join("%9.2f" % (ours[m] / theirs[m]) for m in SIZES_MB)
          + "   (goal <= 0.8)")
    steps = ["%d->%d MB %.2f" % (a, b, (ours[b] / ours[a]) ** (1 / math.log2(b / a)))
             for a, b in zip(SIZES_MB, SIZES_MB[1:])]
    print("  growth per doubling, Mibor8: " + ", ".join(steps) + "   (goal <= 2.2)")

    path, length = document(wine, 10)
    plain, rich = mode_switches(wine, wine.exe, path, length)
    print("mode switches with the 10 MB file shown: F2 (plain) %.2f s, F3 (rich) %.2f s;"
          " the start with it %.2f s" % (plain, rich, ours[10]))
    encodings(wine, exe)


def encodings(wine, exe):
    """Starts with 10 MB of UTF-8 Cyrillic text and 10 MB of ANSI text, beside
    wordpad with the same files (which may fail: then it says so)."""
    utf8 = encoded_document(wine, "cyrillic-utf8.txt", CYRILLIC, "utf-8")
    ansi = encoded_document(wine, "accented-ansi.txt", ACCENTED, "cp1252")
    times = {}
    for name, (path, length) in (("utf8", utf8), ("ansi", ansi)):
        a, b = [], []
        for _ in range(RUNS):
            a.append(doc_time(wine, exe, path, length))
            try:
                b.append(doc_time(wine, WORDPAD, path, length))
            except RuntimeError as failure:
                b.append(None)
                print("  wordpad failed with %s: %s" % (name, str(failure).splitlines()[0][:160]))
                run_command(["wineserver", "-k"], timeout=300)
        shown = [t for t in b if t is not None]
        times[name] = (statistics.median(a), statistics.median(shown) if shown else None)
    print("start-up with 10 MB of text in another encoding until it is shown, seconds, median of %d:" % RUNS)
    for name, label in (("utf8", "UTF-8, Cyrillic"), ("ansi", "ANSI, accented")):
        ours, theirs = times[name]
        print("  %-22s Mibor8 %6.2f   wordpad %s" % (label, ours, "%6.2f   ratio %.2f" % (theirs, ours / theirs)
                                                       if theirs else "did not show it"))
    print("  UTF-8 / ANSI, Mibor8: %.2f   (goal <= 1.2)" % (times["utf8"][0] / times["ansi"][0]))
    if times["utf8"][1]:
        print("  UTF-8, Mibor8 / wordpad: %.2f   (goal <= 0.8)" % (times["utf8"][0] / times["utf8"][1]))
    else:
        print("  UTF-8, Mibor8 / wordpad's ANSI start: %.2f   (wordpad could not show the UTF-8 file)"
              % (times["utf8"][0] / times["ansi"][1]) if times["ansi"][1] else "")


main()
