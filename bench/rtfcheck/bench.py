"""The RTF check against the editor control's reading of 10 MB of rich text,
measured in one run: the control streaming the text in without the check, and
the check followed by the same stream-in (as the program loads a file).

Usage: bench.py BUILD_DIR   (inside scripts/wine-env.sh)

The goal: the check costs at most 5 % of the control's load.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tests", "e2e"))
from harness import run_command  # noqa: E402

GOAL = 0.05


def main():
    build = os.path.abspath(sys.argv[1])
    exe = os.path.join(build, "tests", "rtf_check_bench.exe")
    code, output = run_command(["wine", exe, "10", "2"], timeout=1800)
    if code != 0:
        raise SystemExit("rtf_check_bench failed: " + output)
    f = {k: float(v) for k, v in (line.split("=", 1) for line in output.splitlines() if "=" in line)}
    share = f["check"] / f["load_without_check"]
    print("rtf check: seconds for %.1f MB of RTF (best of 2)" % (f["bytes"] / 2 ** 20))
    print("  %-34s %8.3f" % ("the check alone", f["check"]))
    print("  %-34s %8.3f" % ("the control's load, without check", f["load_without_check"]))
    print("  %-34s %8.3f" % ("the check and the load", f["load_with_check"]))
    verdict = "ok" if share <= GOAL else "MISSED"
    print("  check / load: %.2f %% (goal <= %.0f %%) %s" % (100 * share, 100 * GOAL, verdict))
    return 0 if share <= GOAL else 1


if __name__ == "__main__":
    sys.exit(main())
