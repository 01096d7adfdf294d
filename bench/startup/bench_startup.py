"""Start-up to an idle main window, beside Wine's wordpad.exe and notepad.exe.

Every program is started the same way, by the test driver inside Wine, which
measures from CreateProcess until the program's first window has answered a
message, then closes it. The programs take turns start by start (A B C A B C
...), so that a change of the machine's speed during the run falls on all of
them alike; figures are medians, ratios are ratios of the medians, and the
median of the ratios of neighbouring starts is printed beside them.
"""
import os
import statistics
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tests", "e2e"))
from harness import Wine, run_command  # noqa: E402

RUNS = int(os.environ.get("RUNS", "10"))
WORDPAD = "C:\\Program Files\\Windows NT\\Accessories\\wordpad.exe"
NOTEPAD = "C:\\windows\\notepad.exe"


def start_time(wine, program, *args):
    code, output = run_command(["wine", wine.driver_exe, "starttime", program, *args], timeout=900)
    if code != 0:
        raise RuntimeError("%s did not start: %s" % (program, output.strip()))
    run_command(["wineserver", "-w"], timeout=120)
    return float(output.strip().splitlines()[-1])


def alternating(wine, programs, runs, before=None):
    """Starts the programs in turn, `runs` rounds; each program's times in a list.
    `before(name)`, when given, prepares each start outside the time taken."""
    times = {name: [] for name, _ in programs}
    for _ in range(runs):
        for name, command in programs:
            if before:
                before(name)
            times[name].append(start_time(wine, *command))
    return times


def paired_ratio(times, a, b):
    return statistics.median(x / y for x, y in zip(times[a], times[b]))


def report(times, first, others):
    base = statistics.median(times[first])
    print("  %-8s %8.1f ms   (%s)" % (first, base, " ".join("%.0f" % t for t in times[first])))
    for name in others:
        median = statistics.median(times[name])
        print("  %-8s %8.1f ms   (%s)" % (name, median, " ".join("%.0f" % t for t in times[name])))
        print("  %-8s Mibor8 / %s = %.2f, median of the ratios within a round %.2f"
              % ("", name, base / median, paired_ratio(times, first, name)))


def main():
    wine = Wine(sys.argv[1])
    exe = "Z:" + wine.exe.replace("/", "\\")
    wine.reg_delete_key()
    # One start of each writes its store, so that every measured start reads a full one.
    for program in (exe, WORDPAD, NOTEPAD):
        start_time(wine, program)

    times = alternating(wine, [("Mibor8", (exe,)), ("wordpad", (WORDPAD,)), ("notepad", (NOTEPAD,))], RUNS)
    print("start-up to an idle window, median of %d starts, the programs in turn:" % RUNS)
    report(times, "Mibor8", ["wordpad", "notepad"])

    words = "".join("word%06d entry\r\n" % i for i in range(100000))
    lists = alternating(wine, [("listed", (exe,)), ("empty", (exe,))], 5,
                        lambda name: wine.reg_set("WordList", words if name == "listed" else ""))
    listed, empty = statistics.median(lists["listed"]), statistics.median(lists["empty"])
    print("start-up with a stored word list of 100,000 entries, median of 5 starts in turn with an empty list:")
    print("  empty list %8.1f ms, 100,000 entries %8.1f ms: %.1f ms more (ratio %.2f)"
          % (empty, listed, listed - empty, listed / empty))


main()
