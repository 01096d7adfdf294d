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
F2_KB = [512, 1024, 2048]
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

    # F2 over formatted rich text, Open beside a start with the same file, and
    # typing while a recovery copy is written.
    code, output = run_command(["wine", exe] + ["f2%d" % k for k in F2_KB] + ["start10", "recovery10"], timeout=3000)
    if code != 0:
        raise SystemExit("document_bench failed: " + output)
    figures = {k: float(v) for k, v in (line.split("=", 1) for line in output.splitlines() if "=" in line)}
    f2 = [figures["f2-%d.seconds" % k] for k in F2_KB]
    print("F2 over formatted rich text (a bold and an italic word and indents in every paragraph), seconds:")
    print("  " + "   ".join("%d KB %.3f" % (k, t) for k, t in zip(F2_KB, f2)))
    print("  growth per doubling: " + "   ".join("%.2f" % doubling(a, b, ka, kb) for a, b, ka, kb
                                                  in zip(f2, f2[1:], F2_KB, F2_KB[1:])) + "   (goal <= 2.3)")
    print("Open of 10 MB inside the running program %.3f s, the start with it on the command line %.3f s:"
          " ratio %.2f (goal <= 1.1)" % (figures["start10.open"], figures["start10.start"],
                                         figures["start10.open"] / figures["start10.start"]))
    off, during = figures["recovery10.key_off"], figures["recovery10.key_during"]
    print("typing into 10 MB: %.2f ms per key with the recovery copy off, %.2f ms while a copy is written"
          " (%d keys): ratio %.2f (goal <= 1.1); %.2f ms with it on between copies" % (
              off * 1000, during * 1000, figures["recovery10.keys_during"], during / off,
              figures["recovery10.key_on"] * 1000))
    print("a 10 MB recovery copy: %.3f s to take the text from the editor (program thread), %.3f s to write"
          " the file (beside it)" % (figures["recovery10.snapshot"], figures["recovery10.write"]))


main()
