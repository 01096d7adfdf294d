"""The built editor at a display scale of 150 % (Wine's LogPixels at 144, read
by a program as it starts): the main window and Preferences laid out 1.5 times
as large as at 96 DPI, in screenshots (build/e2e-screenshots/scale-144-*.png).
The prefix's scale is put back afterwards for the tests that follow."""
import os

from harness import check, run, run_command

SCALE_KEYS = [r"HKCU\Control Panel\Desktop",
              r"HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts"]


def set_scale(dpi):
    for key in SCALE_KEYS:
        code, output = run_command(["wine", "reg", "add", key, "/v", "LogPixels", "/t", "REG_DWORD",
                                    "/d", str(dpi), "/f"])
        check(code == 0, "reg add %s: %s" % (key, output))


def screenshot(wine, window_class, name):
    rect = tuple(int(n) for n in wine.driver("rect", window_class).split())
    wine.screenshot(os.path.join(wine.build, "e2e-screenshots", "scale-144-%s.png" % name), rect, window_class)
    return rect


def test_main_window_and_preferences_at_150_percent(wine):
    set_scale(144)
    try:
        wine.reg_delete_key()
        wine.start()
        wine.close_main_window()
        wine.reg_set("Mode", "rich")
        wine.start()
        screenshot(wine, "TForm1", "main-window")
        # The word list's button, 59 pixels wide at 96 DPI.
        remove = wine.control("TForm1", "Remove")["rect"]
        check(remove[2] >= 88, "the Remove button is %d pixels wide" % remove[2])
        wine.keys("ctrl+alt+p")
        wine.wait_window("TForm2")
        wine.idle("TForm2")
        # A client area of 586 x 319 at 96 DPI, and the frame.
        window = screenshot(wine, "TForm2", "preferences")
        check(window[2] >= 879 and window[3] >= 478, "Preferences is %dx%d" % window[2:])
        wine.click_control("TForm2", "Ok", settle=False)
        wine.driver("gone", "TForm2")
        wine.close_main_window()
    finally:
        wine.stop()
        set_scale(96)


if __name__ == "__main__":
    run([test_main_window_and_preferences_at_150_percent])
