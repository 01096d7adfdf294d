"""Runs cases of the document tests on a small file system of their own.

Usage: special_drive.py BUILD MOUNT_OPTIONS VARIABLE FILTER

Mounts a tmpfs with the given options (a 1 MB one to fill up, a read-only one
for a root the program may not write), makes it a drive of the Wine prefix and
runs the document test program's cases matching FILTER with VARIABLE naming
that drive. Needs the right to mount (root, as in CI); without it the test is
skipped (exit 77).
"""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from harness import run_command  # noqa: E402

SKIP = 77


def main():
    build, options, variable, test_filter = os.path.abspath(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4]
    prefix = os.environ["WINEPREFIX"]
    mount_point = tempfile.mkdtemp(prefix="mibor8-drive-")
    result = subprocess.run(["mount", "-t", "tmpfs", "-o", options, "tmpfs", mount_point],
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    if result.returncode != 0:
        os.rmdir(mount_point)
        print("SKIPPED: cannot mount a small file system here: " + result.stdout.decode().strip())
        return SKIP
    devices = os.path.join(prefix, "dosdevices")
    letter = next(l for l in "mnopqrstuvwxy" if not os.path.lexists(os.path.join(devices, l + ":")))
    link = os.path.join(devices, letter + ":")
    try:
        os.symlink(mount_point, link)
        code, output = run_command(["env", "%s=%s:" % (variable, letter.upper()), "wine",
                                    os.path.join(build, "tests", "document_tests.exe"),
                                    "--gtest_filter=" + test_filter], timeout=240)
        print(output)
        if code == 0 and "[  SKIPPED ]" in output:
            return 1  # the drive was not seen
        return code
    finally:
        if os.path.lexists(link):
            os.remove(link)
        subprocess.run(["umount", mount_point])
        os.rmdir(mount_point)


sys.exit(main())
