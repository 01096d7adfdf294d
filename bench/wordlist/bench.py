"""Word-list import, export and start-up with 25k to 200k entries, beside the
floor: reading the same file and filling a bare sorted list box with the
entries sorted in advance.

Usage: bench.py BUILD_DIR   (inside scripts/wine-env.sh)

The entries are random words and phrases of mixed case, about one in ten a
repeat. Measured inside the test process on the hidden main window: Import
into an empty list, Export of that list, the next start-up with it stored
(its share: the start-up minus one with an empty list), and Import of as many
other entries into the full list. The benchmark program checks that every
command did its work. Each figure is the shortest of five runs. Growth: the factor a doubling of the entries costs
(linear = 2.0).
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tests", "e2e"))
from harness import run_command  # noqa: E402

SIZES = [25000, 50000, 100000, 200000]
FIGURES = [("floor", "floor: read + bare list box"), ("import", "Import into empty list"),
           ("import_full", "Import into full list"), ("export", "Export"),
           ("startup_list", "start-up, the list's share"), ("startup", "start-up, whole"),
           ("startup_empty", "start-up, empty list")]


def main():
    build = os.path.abspath(sys.argv[1])
    exe = os.path.join(build, "tests", "wordlist_bench.exe")
    code, output = run_command(["wine", exe] + [str(s) for s in SIZES], timeout=3000)
    if code != 0:
        raise SystemExit("wordlist_bench failed: " + output)
    figures = {k: float(v) for k, v in (line.split("=", 1) for line in output.splitlines() if "=" in line)}
    for size in SIZES:
        figures["%d.startup_list" % size] = figures["%d.startup" % size] - figures["%d.startup_empty" % size]

    print("word list: seconds per command")
    print("  %-30s" % "entries" + "".join("%10d" % s for s in SIZES))
    for key, label in FIGURES:
        print("  %-30s" % label + "".join("%10.3f" % figures["%d.%s" % (s, key)] for s in SIZES))
    print("  %-30s" % "Import / floor" + "".join(
        "%10.2f" % (figures["%d.import" % s] / figures["%d.floor" % s]) for s in SIZES) + "   (goal <= 3 at 100k)")
    print("growth per doubling of the entries (linear = 2.0, goal <= 2.3)")
    for key, label in FIGURES[:5]:
        steps = ["%dk->%dk %s" % (a // 1000, b // 1000, growth(figures["%d.%s" % (a, key)], figures["%d.%s" % (b, key)]))
                 for a, b in zip(SIZES, SIZES[1:])]
        overall = growth(figures["%d.%s" % (SIZES[0], key)], figures["%d.%s" % (SIZES[-1], key)], len(SIZES) - 1)
        print("  %-30s %s   whole range %s" % (label, "   ".join(steps), overall))


def growth(small, large, doublings=1):
    """The factor per doubling; a share measured as a difference of two
    start-ups can come out at zero or below, and then has none."""
    if small <= 0 or large <= 0:
        return "  n/a"
    return "%5.2f" % ((large / small) ** (1.0 / doublings))

main()
