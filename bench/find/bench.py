"""Replace all of a whole word in 0.5, 1 and 2 MB of text (lines of about 80
characters, one "cat" in about 130 characters), in plain and in rich mode,
beside Wine's own wordpad.exe doing Replace All on the same 1 MB file.

Usage: bench.py BUILD_DIR   (inside scripts/wine-env.sh)

The editor's time is measured inside the test process around the " Replace
all" command on the hidden main window (find_bench.exe), and each result is
checked byte for byte against the model of the search routine. Wordpad runs
as a program of its own: its Replace dialog is filled and "Replace All"
pressed from outside, and it has finished when its text has grown by one
character for every match ("cat" becomes "lion").
"""
import math
import os
import random
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tests", "e2e"))
from harness import Wine, check, run_command  # noqa: E402

FOLDER = "C:\\bench-find"
SIZES_KB = [512, 1024, 2048]
PEER_KB = 1024
WORDPAD = "C:\\Program Files\\Windows NT\\Accessories\\wordpad.exe"
# No word holds "cat", so that every whole-word rule finds the same matches.
WORDS = ("the quick brown fox jumps over lazy dog and sleeps on in sun a mat hat of to red blue green house "
         "tree river stone bird flies high above field where farmer works every day with his old horse").split()


def make_text(size):
    """Lines of about 80 characters; returns the text and its number of matches."""
    rng = random.Random(size)
    lines, total, matches = [], 0, 0
    while total < size:
        words = []
        while sum(len(w) + 1 for w in words) < 78:
            if rng.random() < 0.042:
                words.append("cat")
                matches += 1
            else:
                words.append(rng.choice(WORDS))
        line = " ".join(words) + "\r\n"
        lines.append(line)
        total += len(line)
    return "".join(lines), matches, lines


def make_rtf(lines):
    """The same text as RTF, every third line bold and every third red."""
    parts = ["{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern Courier New;}}"
             "{\\colortbl;\\red200\\green0\\blue0;}\\f0\\fs20 "]
    for i, line in enumerate(lines):
        body = line[:-2]
        if i % 3 == 0:
            body = "{\\b " + body + "}"
        elif i % 3 == 1:
            body = "{\\cf1 " + body + "}"
        parts.append(body + "\\par\r\n")
    parts.append("}")
    return "".join(parts)


def doubling(t1, t2, s1, s2):
    return 2 ** (math.log(t2 / t1) / math.log(s2 / s1)) if t1 > 0 and t2 > 0 else float("nan")


def run_editor(wine, mode, paths):
    exe = os.path.join(wine.build, "tests", "find_bench.exe")
    code, output = run_command(["wine", exe, mode] + paths, timeout=3000)
    check(code == 0, "find_bench %s failed: %s" % (mode, output))
    return {k: float(v) for k, v in (line.split("=", 1) for line in output.splitlines() if "=" in line)}


def run_wordpad(wine, path, matches):
    """Seconds wordpad takes for Replace All of "cat" by "lion", whole words."""
    program = subprocess.Popen(["wine", WORDPAD, path], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        wine.wait_window("WORDPADTOP", 60)
        time.sleep(2)
        # The document has the focus (its text may hold any character: only
        # the first field is read).
        editor, kind = wine.driver("focus", "WORDPADTOP").split("|")[:2]
        check(kind.upper().startswith("RICHEDIT"), "wordpad's focus is on " + kind)
        before = int(wine.driver("length", editor))
        check(before > 0, "wordpad shows no text")
        wine.keys("ctrl+h", title="Wordpad$")
        wine.wait_window("#32770", 20)
        time.sleep(0.5)
        subprocess.run(["xdotool", "type", "--delay", "60", "cat"], check=True)
        subprocess.run(["xdotool", "key", "Tab"], check=True)
        subprocess.run(["xdotool", "type", "--delay", "60", "lion"], check=True)
        children = wine.driver("children", "#32770").splitlines()
        whole = [line.split("|", 1)[1] for line in children if "whole word" in line.lower()][0]
        replace_all = [line.split("|", 1)[1] for line in children if "replace" in line.lower() and
                       "all" in line.lower()][0]
        wine.driver("click", "#32770", whole)
        time.sleep(0.5)
        expected = before + matches * (len("lion") - len("cat"))
        start = time.time()
        wine.driver("click", "#32770", replace_all)
        while True:
            length = int(wine.driver("length", editor))
            if length == expected:
                return time.time() - start
            check(time.time() - start < 1800, "wordpad has not finished after 30 minutes (length %d)" % length)
            time.sleep(0.5)
    finally:
        program.kill()
        run_command(["wineserver", "-k"])


def main():
    wine = Wine(sys.argv[1])
    texts, rtf_paths, txt_paths, expected = {}, [], [], {}
    for kb in SIZES_KB:
        text, matches, lines = make_text(kb * 1024)
        texts[kb] = (text, matches)
        wine.write_file("%s\\text%d.txt" % (FOLDER, kb), text)
        wine.write_file("%s\\text%d.rtf" % (FOLDER, kb), make_rtf(lines))
        txt_paths.append("%s\\text%d.txt" % (FOLDER, kb))
        rtf_paths.append("%s\\text%d.rtf" % (FOLDER, kb))
        expected[kb] = matches

    plain = run_editor(wine, "plain", txt_paths)
    rich = run_editor(wine, "rich", rtf_paths)
    for kb in SIZES_KB:
        for figures, ext in ((plain, "txt"), (rich, "rtf")):
            name = "text%d.%s" % (kb, ext)
            check(figures[name + ".same_as_model"] == 1, name + ": the result differs from the model's")
            check(figures[name + ".one_message"] == 1, name + ": not one end message")
            check(figures[name + ".matches"] == expected[kb], "%s: %d matches replaced, %d expected" % (
                name, figures[name + ".matches"], expected[kb]))

    print("find: Replace all of a whole word (\"cat\" by \"lion\"), seconds, beside wordpad.exe's Replace All")
    print("  %-26s" % "" + "".join("%12s" % ("%.1f MB" % (kb / 1024)) for kb in SIZES_KB))
    print("  %-26s" % "matches" + "".join("%12d" % expected[kb] for kb in SIZES_KB))
    print("  %-26s" % "Mibor8, plain mode" + "".join("%12.3f" % plain["text%d.txt.seconds" % kb] for kb in SIZES_KB))
    print("  %-26s" % "Mibor8, rich mode" + "".join("%12.3f" % rich["text%d.rtf.seconds" % kb] for kb in SIZES_KB))
    print("  %-26s" % "model (checks the result)" + "".join(
        "%12.3f" % plain["text%d.txt.model_seconds" % kb] for kb in SIZES_KB))
    sys.stdout.flush()
    wordpad = run_wordpad(wine, "%s\\text%d.txt" % (FOLDER, PEER_KB), expected[PEER_KB])
    print("  %-26s %12s%12.3f" % ("wordpad.exe", "", wordpad))
    for label, figures, ext in (("plain", plain, "txt"), ("rich", rich, "rtf")):
        ours = figures["text%d.%s.seconds" % (PEER_KB, ext)]
        print("  Mibor8 / wordpad at 1 MB, %s mode: %.4f (goal <= 0.05)" % (label, ours / wordpad))
    print("growth: time factor per doubling of the size (linear = 2.0, goal <= 2.2)")
    for label, figures, ext in (("plain", plain, "txt"), ("rich", rich, "rtf")):
        steps = []
        for a, b in zip(SIZES_KB, SIZES_KB[1:]):
            steps.append("%.1f->%.1f MB %5.2f" % (a / 1024, b / 1024, doubling(
                figures["text%d.%s.seconds" % (a, ext)], figures["text%d.%s.seconds" % (b, ext)], a, b)))
        print("  %-8s %s" % (label, "   ".join(steps)))
    print("every result equals the model's byte for byte")


if __name__ == "__main__":
    main()
