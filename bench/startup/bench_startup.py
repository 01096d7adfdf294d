"""Start-up to an idle main window, beside Wine's wordpad.exe and notepad.exe.

Every program is started the same way, by the test driver inside Wine, which
measures from CreateProcess until the program's first window has answered a
message, then closes it. Figures are medians of repeated starts.
"""
import os
import statistics
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tests", "e2e"))
from harness import Wine, run_command  # noqa: E402

RUNS = 10
WORDPAD = "C:\\Program Files\\Windows NT\\Accessories\\wordpad.exe"
NOTEPAD = "C:\\windows\\notepad.exe"


def start_times(wine, program, *args, runs=RUNS):
    times = []
    for _ in range(runs):
        code, output = run_command(["wine", wine.driver_exe, "starttime", program, *args], timeout=600)
        if code != 0:
            raise RuntimeError("%s did not start: %s" % (program, output.strip()))
        times.append(float(output.strip().splitlines()[-1]))
        run_command(["wineserver", "-w"], timeout=120)
    return statistics.median(times)


def main():
    wine = Wine(sys.argv[1])
    exe = "Z:" + wine.exe.replace("/", "\\")
    wine.reg_delete_key()
    # One start writes the store, so that every measured start reads a full one.
    start_times(wine, exe, runs=1)

    mibor = start_times(wine, exe)
    wordpad = start_times(wine, WORDPAD)
    notepad = start_times(wine, NOTEPAD)
    print("start-up to an idle window, median of %d starts:" % RUNS)
    print("  Mibor8   %8.1f ms" % mibor)
    print("  wordpad  %8.1f ms   Mibor8 / wordpad = %.2f" % (wordpad, mibor / wordpad))
    print("  notepad  %8.1f ms   Mibor8 / notepad = %.2f" % (notepad, mibor / notepad))

    line = ("The quick brown fox jumps over the lazy dog. " * 2)[:89] + "\r\n"
    wine.write_file("C:\\bench\\ten-mb.txt", (line * (10 * 1024 * 1024 // len(line))).encode("ascii"))
    big_mibor = start_times(wine, exe, "C:\\bench\\ten-mb.txt", runs=3)
    big_wordpad = start_times(wine, WORDPAD, "C:\\bench\\ten-mb.txt", runs=3)
    print("start-up with a 10 MB plain-text file, median of 3 starts:")
    print("  Mibor8   %8.1f ms" % big_mibor)
    print("  wordpad  %8.1f ms   Mibor8 / wordpad = %.2f" % (big_wordpad, big_mibor / big_wordpad))

    words = "".join("word%06d entry\r\n" % i for i in range(100000))
    wine.reg_set("WordList", words)
    listed = start_times(wine, exe, runs=5)
    wine.reg_set("WordList", "")
    empty = start_times(wine, exe, runs=5)
    print("start-up with a stored word list of 100,000 entries, median of 5 starts:")
    print("  empty list %8.1f ms, 100,000 entries %8.1f ms: %.1f ms more (ratio %.2f)"
          % (empty, listed, listed - empty, listed / empty))


main()
