"""Runs printer_tests.exe with a CUPS server of the test's own and its PDF
printers (see cups_printer.py); skipped (exit 77) with the reason where no
such server can run.

Usage: printer_test.py BUILD_DIR   (inside scripts/wine-env.sh)
"""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from cups_printer import SKIP, CupsServer, Unavailable  # noqa: E402
from harness import run_command  # noqa: E402


def main():
    build = os.path.abspath(sys.argv[1])
    server = CupsServer(build, name="cups-printer-tests")
    try:
        server.start()
    except Unavailable as reason:
        print("[SKIP] no CUPS server of the test's own can run here: %s" % reason)
        return SKIP
    try:
        os.environ.update(server.env())
        code, output = run_command(["wine", os.path.join(build, "tests", "printer_tests.exe")], timeout=540)
        print(output)
        if code == 0 and "[  SKIPPED ]" in output:
            return 1  # the server was there: nothing may skip
        return code
    finally:
        server.stop()


if __name__ == "__main__":
    sys.exit(main())
