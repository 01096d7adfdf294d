"""The setup program build/Mibor8-Setup.exe under Wine: silent installs for all
users and for the current user, the file class that makes the program's own
".txt" association open the installed program, installing over itself, and
the silent uninstall."""
import glob
import os
import re

from harness import check, run, run_command, wait_for

CLASS = "Mibor-File"
UNINSTALL = r"Software\Microsoft\Windows\CurrentVersion\Uninstall\Mibor8"
# Two blanks in a row: only a quoted "%1" hands this path over unchanged.
DOCUMENT = "C:\\users\\Public\\Documents\\a  note.txt"


def values(key):
    """A key's values as {name: text} (any type), None when the key is missing."""
    code, output = run_command(["wine", "reg", "query", key])
    if code != 0:
        return None
    found = re.findall(r"^    (\S.*?)    (REG_\w+)    ?(.*)$", output, re.M)
    return {"" if name == "(Default)" else name: text for name, _, text in found}


def install(wine, *args):
    setup = os.path.join(wine.build, "Mibor8-Setup.exe")
    check(os.path.exists(setup), setup + " is missing: make installer")
    code, output = run_command(["wine", setup, "/S", *args])
    check(code == 0, "setup %s ended with %d: %s" % (" ".join(args), code, output))


def shortcuts(wine):
    return glob.glob(os.path.join(wine.prefix, "drive_c", "**", "Start Menu", "Programs", "Mibor8.lnk"),
                     recursive=True)


def check_installed(wine, hive, folder):
    """Files, shortcut, class and uninstall entry of an installation into `folder`."""
    for name in ("Mibor8.exe", "Mibor8.pdf", "uninstall.exe"):
        check(os.path.exists(wine.c_path(folder + "\\" + name)), name + " was not installed")
    check(len(shortcuts(wine)) == 1, "shortcuts %r" % shortcuts(wine))
    program = folder + "\\Mibor8.exe"
    classes = hive + "\\Software\\Classes\\" + CLASS
    check(values(classes) == {"": "Mibor8 document"}, "class %r" % values(classes))
    check(values(classes + "\\DefaultIcon") == {"": program + ",0"}, "icon %r" % values(classes + "\\DefaultIcon"))
    command = values(classes + r"\shell\open\command")
    check(command == {"": '"%s" "%%1"' % program}, "open command %r" % command)

    entry = values(hive + "\\" + UNINSTALL)
    check(entry is not None, "no uninstall entry under " + hive)
    with open(os.path.join(wine.build, "CMakeCache.txt")) as cache:
        version = re.search(r"^CMAKE_PROJECT_VERSION:STATIC=(.*)$", cache.read(), re.M).group(1)
    check(entry["DisplayName"] == "Mibor8" and entry["DisplayVersion"] == version and
          entry["InstallLocation"] == folder and int(entry["EstimatedSize"], 16) > 0, "entry %r" % entry)
    check(entry["UninstallString"].startswith('"%s\\uninstall.exe"' % folder), "entry %r" % entry)
    return entry


def uninstall(wine, entry, folder):
    """Runs the entry's quiet uninstall command and waits until the folder is gone."""
    program, arguments = re.match(r'"([^"]+)"(.*)', entry["QuietUninstallString"]).groups()
    code, output = run_command(["wine", program, *arguments.split()])
    check(code == 0, "uninstall: " + output)
    check(wait_for(lambda: not os.path.exists(wine.c_path(folder))), "the folder outlived the uninstall")


def associate_txt_with_the_installed_program(wine, program):
    """The installed program writes its ".txt" association script, which is imported."""
    wine.start(exe=wine.c_path(program))
    wine.keys("F10", "Right", "Right", "Right", "Down", "Down", "Right", "Return")  # Help, Associate, .txt
    check(wait_for(lambda: os.path.exists(wine.c_path("C:\\Mibor.reg"))), "no association script")
    code, output = run_command(["wine", "reg", "import", "C:\\Mibor.reg"])
    check(code == 0, "reg import: " + output)
    wine.close_main_window()


def installs_for_all_users_and_opens_text_files(wine):
    folder = "C:\\Program Files\\Mibor8"
    # The class ".txt" named before the association comes back at the uninstall.
    run_command(["wine", "reg", "add", r"HKCR\.txt", "/ve", "/d", "txtfile", "/f"])
    install(wine)
    check_installed(wine, "HKLM", folder)
    associate_txt_with_the_installed_program(wine, folder + "\\Mibor8.exe")
    check(values(r"HKCR\.txt") == {"": CLASS}, ".txt is %r" % values(r"HKCR\.txt"))

    # Over itself, after the association: still one installation.
    install(wine)
    entry = check_installed(wine, "HKLM", folder)
    check(values("HKCU\\" + UNINSTALL) is None, "a second entry for the current user")

    wine.write_file(DOCUMENT, "a note\r\n")
    code, output = run_command(["wine", "start", DOCUMENT])
    check(code == 0, "start: " + output)
    wine.wait_window("TForm1")
    check(wine.title("TForm1") == "Mibor8 - " + DOCUMENT, "caption " + wine.title("TForm1"))
    wine.keys("ctrl+alt+x", settle=False)
    wine.driver("gone", "TForm1")
    # The uninstaller deletes the program: once every program of the prefix has ended.
    wine.wait_all_ended()

    uninstall(wine, entry, folder)
    check(not shortcuts(wine), "shortcut left: %r" % shortcuts(wine))
    check(values("HKLM\\Software\\Classes\\" + CLASS) is None, "the class outlived the uninstall")
    check(values("HKLM\\" + UNINSTALL) is None, "the entry outlived the uninstall")
    check(values(r"HKCR\.txt") == {"": "txtfile"}, ".txt is %r" % values(r"HKCR\.txt"))
    check(wine.reg_query() is not None, "the settings went with the program")


def installs_for_the_current_user_into_a_chosen_folder(wine):
    folder = "C:\\Tools\\Mibor8"
    install(wine, "/CurrentUser", "/D=" + folder)
    entry = check_installed(wine, "HKCU", folder)
    check(values("HKLM\\Software\\Classes\\" + CLASS) is None, "a per-user install wrote the machine's class")
    check(values("HKLM\\" + UNINSTALL) is None, "a per-user install wrote the machine's entry")
    uninstall(wine, entry, folder)
    check(not shortcuts(wine) and values("HKCU\\Software\\Classes\\" + CLASS) is None and
          values("HKCU\\" + UNINSTALL) is None, "the per-user installation left traces")


run([installs_for_all_users_and_opens_text_files, installs_for_the_current_user_into_a_chosen_folder])
