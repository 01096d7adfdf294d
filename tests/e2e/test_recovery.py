"""Text typed and never saved outlives a program that is killed hard: the next
start says where it is kept and puts it into the editor; after a clean close
the next start says nothing."""
import glob
import os

from harness import check, run, run_command, wait_for

NOT_CLOSED = "Mibor8 was not closed properly. The text you had not saved is kept in "


def recovery_copies(wine):
    """The recovery copies in the program's application-data folder of the prefix."""
    pattern = os.path.join(wine.prefix, "drive_c", "users", "*", "*", "Roaming", "Mibor8", "Recovery-*")
    return [p for p in glob.glob(pattern) if not p.endswith(".lock")]


def typed_text_outlives_a_hard_kill(wine):
    wine.reg_delete_key()
    wine.start()
    wine.type_text("kept through the crash")
    check(wait_for(lambda: any(p.endswith(".txt") for p in recovery_copies(wine)), 60), "no recovery copy")
    # The program and the Wine server end at once, as at a power failure.
    run_command(["wineserver", "-k"])
    wine.program.wait()
    wine.end_driver()

    wine.start(wait_for="#32770")
    texts = wine.driver("children", "#32770")
    check(NOT_CLOSED in texts and "Recovery-" in texts, "box text: " + texts)
    wine.driver("close", "#32770")
    wine.driver("gone", "#32770")
    wine.wait_window("TForm1")
    check(wine.title("TForm1") == "Mibor8", "caption " + wine.title("TForm1"))
    wine.keys("ctrl+alt+c")  # Copy all
    check(wine.clipboard() == "kept through the crash", "editor text: %r" % wine.clipboard())
    wine.close_main_window()
    check(recovery_copies(wine) == [], "a clean close leaves %r" % recovery_copies(wine))

    wine.start()
    wine.idle("TForm1")
    check([c for c, _ in wine.windows()] == ["TForm1"], "after a clean close: %r" % wine.windows())
    wine.close_main_window()


run([typed_text_outlives_a_hard_kill])
