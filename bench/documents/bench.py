"""Open, Save and New of 1 to 50 MB of plain text and of 5 MB of RTF,
beside plain ReadFile and WriteFile of the same bytes under Wine (the floor).

Usage: bench.py BUILD_DIR   (inside scripts/wine-env.sh)

The editor's times are measured inside the test process around each command
(Open1Click, Save1Click, Text2Click) on the hidden main window; the floor is
one ReadFile or WriteFile call of the whole file in the same process. Growth:
the factor that doubling the size costs, between neighbouring sizes; about 2.2
or less means the command grows linearly with the size. A size the editor
control cannot hold in the 32-bit process is refused, and reported so.
"""
import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tests", "e2e"))
from harness import run_command  # noqa: E402

SIZES = [1, 5, 10, 20, 50]
RTF = "rtf5"
COMMANDS = [("open", "Open"), ("save", "Save"), ("new", "New"), ("open_again", "Open over a document"),
            ("backup_new", "New with backup")]


def doubling(t1, t2, s1, s2):
    if t1 <= 0 or t2 <= 0:
        return float("nan")
    return 2 ** (math.log(t2 / t1) / math.log(s2 / s1))


def main():
    build = os.path.abspath(sys.argv[1])
    exe = os.path.join(build, "tests", "document_bench.exe")
    code, output = run_command(["wine", exe] + [str(s) for s in SIZES] + [RTF], timeout=3000)
    if code != 0:
        raise SystemExit("document_bench failed: " + output)
    figures = {k: float(v) for k, v in (line.split("=", 1) for line in output.splitlines() if "=" in line)}

    refused = [s for s in SIZES if "plain%d.refused" % s in figures]
    measured = [s for s in SIZES if s not in refused]
    names = ["plain%d" % s for s in measured] + ([RTF] if RTF + ".open" in figures else [])
    print("documents: seconds per command, beside one ReadFile / WriteFile of the same bytes")
    print("  %-22s" % "" + "".join("%12s" % n for n in names))
    for key, label in COMMANDS:
        print("  %-22s" % label + "".join("%12.3f" % figures[n + "." + key] for n in names))
    print("  %-22s" % "ReadFile (floor)" + "".join("%12.3f" % figures[n + ".floor_read"] for n in names))
    print("  %-22s" % "WriteFile (floor)" + "".join("%12.3f" % figures[n + ".floor_write"] for n in names))
    print("  %-22s" % "MB per s, Open" + "".join(
        "%12.1f" % (figures[n + ".bytes"] / 2 ** 20 / figures[n + ".open"]) for n in names))
    print("  %-22s" % "Open / ReadFile" + "".join(
        "%12.0f" % (figures[n + ".open"] / max(figures[n + ".floor_read"], 1e-4)) for n in names))
    print("  %-22s" % "Save / WriteFile" + "".join(
        "%12.1f" % (figures[n + ".save"] / max(figures[n + ".floor_write"], 1e-4)) for n in names))
    for size in refused:
        print("  plain%d: refused with \"Failed to Load Stream\" after %.1f s (the editor control would need more"
              " memory than the process has)" % (size, figures["plain%d.refused" % size]))
    print("growth of plain text: time factor per doubling of the size (linear = 2.0, goal <= 2.2)")
    for key, label in COMMANDS:
        steps = []
        for a, b in zip(measured, measured[1:]):
            t1, t2 = figures["plain%d.%s" % (a, key)], figures["plain%d.%s" % (b, key)]
            steps.append("%d->%d MB %5.2f" % (a, b, doubling(t1, t2, a, b)))
        print("  %-22s %s" % (label, "   ".join(steps)))


main()
