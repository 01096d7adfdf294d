"""The built editor under Wine: the About box and the start counter, the file
association script and F1. What the shell is asked to open is recorded by
shell_recorder.exe, registered as the "open" command in this prefix."""
import os
import shutil

from harness import check, run, run_command, wait_for

LOG = "C:\\mibor8-shell-calls.txt"
SCRIPT = "C:\\Mibor.reg"
TEST_CLASS = r"HKCR\Mibor8.TestOpen"


def windows_path(linux_path):
    return "Z:" + os.path.abspath(linux_path).replace("/", "\\")


def record_shell_openings(wine):
    """Registers the recorder for .reg and .pdf files and http and mailto addresses."""
    recorder = windows_path(os.path.join(wine.build, "tests", "shell_recorder.exe"))
    command = '"%s" "%s" "%%1"' % (recorder, LOG)
    for key, value in [(r"HKCR\.reg", "Mibor8.TestOpen"), (r"HKCR\.pdf", "Mibor8.TestOpen"),
                       (TEST_CLASS + r"\shell\open\command", command),
                       (r"HKCR\http\shell\open\command", command), (r"HKCR\mailto\shell\open\command", command)]:
        code, output = run_command(["wine", "reg", "add", key, "/ve", "/d", value, "/f"])
        check(code == 0, "reg add %s: %s" % (key, output))
    if os.path.exists(wine.c_path(LOG)):
        os.remove(wine.c_path(LOG))


def opened(wine, count=0, seconds=30):
    """The targets the shell opened, once there are `count` of them (or the time is up)."""
    lines = []

    def enough():
        lines[:] = wine.read_file(LOG).decode("cp1252").splitlines() if os.path.exists(wine.c_path(LOG)) else []
        return len(lines) >= count

    wait_for(enough, seconds)
    return lines


def help_menu(wine, *keys):
    """Opens the Help menu with the keyboard (its first item chosen) and types `keys`."""
    wine.keys("F10", "Right", "Right", "Right", "Down", *keys)


def about_texts(wine):
    return [c["text"] for c in wine.controls("TForm3") if "v" in c["flags"]]


def the_about_box_shows_the_number_of_this_start(wine):
    wine.reg_delete_key()
    record_shell_openings(wine)
    wine.start()
    wine.close_main_window()
    check(wine.reg_query().get("Counter") == "2", "Counter after a first start: %r" % wine.reg_query())

    wine.start()
    help_menu(wine, "Up", "Return")
    wine.wait_window("TForm3")
    check(wine.title("TForm3") == "About...", "caption " + wine.title("TForm3"))
    texts = about_texts(wine)
    check("You've started Mibor8  2 times." in texts, "texts %r" % texts)
    check("Version 8.0" in texts, "texts %r" % texts)

    # Enter and Escape leave it open (looked at once the box has handled them); the
    # links go to the shell; "Ok" closes it.
    wine.keys("Return", "Escape", title="^About")
    check("TForm3" in [c for c, _ in wine.windows()], "a key closed the About box")
    wine.click_control("TForm3", "www.mibor8.example")
    wine.click_control("TForm3", "info@mibor8.example")
    calls = opened(wine, 2)
    check(len(calls) == 2 and calls[0].startswith("http://www.mibor8.example") and
          calls[1] == "mailto:info@mibor8.example", "shell calls %r" % calls)
    # "Ok" from the keyboard: Tab, and Space.
    wine.tab_to("TForm3", "Ok", "^About")
    rect = tuple(int(n) for n in wine.driver("rect", "TForm3").split())
    wine.screenshot(os.path.join(wine.build, "e2e-screenshots", "about-ok-focused.png"), rect, "TForm3")
    wine.keys("space", title="^About", settle=False)
    wine.driver("gone", "TForm3")

    wine.close_main_window()
    check(wine.reg_query().get("Counter") == "3", "showing the box counted: %r" % wine.reg_query().get("Counter"))


def associating_writes_the_script_and_hands_it_to_the_shell(wine):
    wine.reg_delete_key()
    record_shell_openings(wine)
    wine.start()
    help_menu(wine, "Down", "Right", "Return")  # Associate with Mibor8, .txt
    check(opened(wine, 1) == [SCRIPT], "shell calls %r" % opened(wine))
    script = wine.read_file(SCRIPT)
    check(script == b'REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\.txt]\r\n@="Mibor-File"\r\n', "script %r" % script)
    check(len(script) == 54, "%d bytes" % len(script))
    code, output = run_command(["wine", "reg", "import", SCRIPT])
    check(code == 0, "reg import: " + output)
    code, output = run_command(["wine", "reg", "query", r"HKCR\.txt", "/ve"])
    check("Mibor-File" in output, "HKCR\\.txt: " + output)

    help_menu(wine, "Down", "Right", "Down", "Return")  # .rtf
    check(opened(wine, 2) == [SCRIPT, SCRIPT], "shell calls %r" % opened(wine))
    check(b"[HKEY_CLASSES_ROOT\\.rtf]" in wine.read_file(SCRIPT), "the .rtf script was not written")
    wine.close_main_window()
    check(not os.path.exists(wine.c_path(SCRIPT)), "the script outlived the main window")

    # A folder in the script's place: the standard error box, nothing opened.
    os.makedirs(wine.c_path(SCRIPT))
    try:
        wine.start()
        help_menu(wine, "Down", "Right", "Return")
        wine.wait_window("#32770")
        texts = wine.driver("children", "#32770")
        check("Cannot create file C:\\Mibor.reg." in texts, "box: " + texts)
        wine.driver("close", "#32770")
        wine.driver("gone", "#32770")
        # Once the program and everything it started have ended.
        wine.close_main_window()
        check(len(opened(wine)) == 2, "the shell was called: %r" % opened(wine))
    finally:
        os.rmdir(wine.c_path(SCRIPT))


def f1_opens_the_manual_beside_the_program_from_another_folder(wine):
    wine.reg_delete_key()
    record_shell_openings(wine)
    # The program's path is longer than the 260 characters of a classic path buffer.
    folder = "C:\\Program Files\\" + "\\".join(["Mibor8 text editor, a folder with a long name"] * 6)
    check(len(folder) > 260, "the folder's path is short")
    os.makedirs(wine.c_path(folder))
    shutil.copy(wine.exe, wine.c_path(folder + "\\Mibor8.exe"))
    wine.write_file(folder + "\\Mibor8.pdf", b"%PDF-1.4\n")
    wine.start(exe=wine.c_path(folder + "\\Mibor8.exe"), cwd=wine.c_path("C:\\windows"))
    wine.keys("F1")
    calls = opened(wine, 1)
    check([c.lower() for c in calls] == [(folder + "\\Mibor8.pdf").lower()], "shell calls %r" % calls)
    wine.close_main_window()


run([the_about_box_shows_the_number_of_this_start,
     associating_writes_the_script_and_hands_it_to_the_shell,
     f1_opens_the_manual_beside_the_program_from_another_folder])
