"""Benchmarks of the e-mail engine, each beside a peer measured in the same run.

Usage: bench.py BUILD_DIR   (inside scripts/wine-env.sh)

- Sending a message with a 5, 20 and 80 MB attachment to a loopback server that
  discards the data, beside curl uploading the same message bytes to the same
  server. Our times are measured inside the process (Wine's start-up is not
  counted); curl's include its process start. A third column sends the same
  bytes with plain blocking Winsock calls of 16383 bytes under Wine: the floor
  that the chunk size and the system's per-call cost set.
- The base64 encoder alone beside coreutils base64 on the same 100 MB file,
  both reading the file and writing the encoded file.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
RUNS = 3
MB = 1 << 20


def run(args, timeout=600):
    """Runs a command with its output in a file (Wine's background processes
    would keep a pipe open); returns the output."""
    with tempfile.TemporaryFile() as out:
        code = subprocess.run(args, stdout=out, stderr=subprocess.STDOUT, timeout=timeout).returncode
        out.seek(0)
        text = out.read().decode("latin-1").replace("\r", "")
    if code != 0:
        raise SystemExit("%s failed: %s" % (args[0], text))
    return text


def values(text):
    return {k: v for k, v in (line.split("=", 1) for line in text.splitlines() if "=" in line)}


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def timed(args):
    start = time.perf_counter()
    run(args)
    return time.perf_counter() - start


def random_file(path, size):
    with open(path, "wb") as f:
        left = size
        while left:
            block = os.urandom(min(left, 4 * MB))
            f.write(block)
            left -= len(block)


def main():
    build = os.path.abspath(sys.argv[1])
    exe = os.path.join(build, "tests", "smtp_bench.exe")
    work = tempfile.mkdtemp(prefix="mibor8-bench-")
    port_file = os.path.join(work, "port")
    server = subprocess.Popen(["/usr/bin/python3", os.path.join(HERE, "discard_server.py"), port_file])
    try:
        for _ in range(100):
            if os.path.exists(port_file) and os.path.getsize(port_file):
                break
            time.sleep(0.05)
        port = open(port_file).read().strip()
        run(["wine", exe, "encode", windows_path(port_file), windows_path(port_file + ".warm")])

        print("Sending a message with one attachment to a loopback discard server (best of %d)" % RUNS)
        print("%6s %9s %8s %9s %9s %8s %8s %7s %7s %8s %s" % ("MB", "message", "ours s", "compose", "transmit",
              "curl s", "floor s", "/curl", "/floor", "s/MB", "peak working set"))
        per_mb = {}
        for size in (5, 20, 80):
            attachment = os.path.join(work, "attach%d.bin" % size)
            message = os.path.join(work, "message%d.eml" % size)
            random_file(attachment, size * MB)
            ours = []
            for _ in range(RUNS):
                ours.append(values(run(["wine", exe, "send", port, windows_path(attachment), windows_path(message)])))
            best = min(ours, key=lambda v: float(v["total_s"]))
            curl = min(timed(["curl", "-s", "smtp://127.0.0.1:%s" % port, "--mail-from", "ann@example.com",
                              "--mail-rcpt", "bob@example.com", "--upload-file", message]) for _ in range(RUNS))
            floor = min(float(values(run(["wine", exe, "raw", port, windows_path(message)]))["raw_s"])
                        for _ in range(RUNS))
            total = float(best["total_s"])
            message_mb = int(best["message_bytes"]) / MB
            peak = int(best["peak_working_set"]) / MB
            per_mb[size] = total / size
            print("%6d %8.1fM %8.3f %9.3f %9.3f %8.3f %8.3f %6.2fx %6.2fx %8.4f %5.0fM = %.2fx the message" % (
                size, message_mb, total, float(best["compose_s"]), float(best["transmit_s"]), curl, floor,
                total / curl, total / floor, total / size, peak, peak / message_mb))
            os.remove(attachment)
            os.remove(message)
        print("time per MB, 80 MB against 5 MB: %.2fx" % (per_mb[80] / per_mb[5]))

        source = os.path.join(work, "encode.bin")
        random_file(source, 100 * MB)
        ours = min(float(values(run(["wine", exe, "encode", windows_path(source), windows_path(source + ".b64")]))
                         ["encode_s"]) for _ in range(RUNS))
        coreutils = min(timed(["sh", "-c", 'base64 "$1" > "$2"', "sh", source, source + ".gnu"])
                        for _ in range(RUNS))
        print("Encoding 100 MB as base64 (best of %d): ours %.3f s, coreutils base64 %.3f s, ratio %.2fx" % (
            RUNS, ours, coreutils, ours / coreutils))
    finally:
        server.kill()
        server.wait()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
