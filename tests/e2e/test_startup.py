"""The built editor started under Wine: first start, store, second start."""

from harness import check, run

DEFAULTS = {
    "BackgroundColor": "clWhite", "ReadOnly": "false", "ShowMenuIcons": "true", "ShowToolbar1": "true",
    "ShowToolbar2": "true", "ShowToolbar3": "true", "ShowToolbar5": "true", "ShowToolbar6": "true",
    "ShowToolbar7": "true", "ShowApply": "true", "AddAfter": "true", "AddBefore": "false", "MakeBackUp": "true",
    "Mode": "plain", "Port": "25", "id": "", "Name": "", "Email": "", "ShowPanel": "2", "LeftMargin": "5",
    "RightMargin": "5", "FontColor": "clBlack", "Font": "clBlack", "FontSize": "8", "FontName": "Tahoma",
    "BackUpLocation": "C:\\Mibor8- Backup", "FontStyle": "1", "Maximized": "false",
}
WINDOW_STATE = ["Width", "Height", "Left", "Top", "WordList", "Custom1", "Custom2"] + [
    "Toolbar%s%s" % (n, side) for n in "123567" for side in ("Left", "Top")]


def first_start_writes_the_defaults_and_the_window_state_at_close(wine):
    wine.reg_delete_key()
    wine.start()
    visible = wine.windows()
    check([c for c, _ in visible] == ["TForm1"], "other windows showed: %r" % visible)
    check(wine.title("TForm1") == "Mibor8", "caption")
    store = wine.reg_query()
    check(store is not None, "the settings key was not written")
    for name, value in DEFAULTS.items():
        check(store.get(name) == value, "%s is %r, not %r" % (name, store.get(name), value))
    check(store.get("SMTPServer"), "no SMTP server placeholder")
    check(not any(name in store for name in WINDOW_STATE), "window state written before the close")
    wine.close_main_window()
    store = wine.reg_query()
    for name in WINDOW_STATE:
        check(name in store, name + " missing after the close")
    check(store["Width"] == "739" and store["Height"] == "457", "size %s x %s" % (store["Width"], store["Height"]))


def a_second_start_reads_the_stored_window_state(wine):
    wine.reg_delete_key()
    wine.start()
    wine.close_main_window()
    wine.reg_set("Width", "640")
    wine.reg_set("Height", "420")
    wine.reg_set("Left", "50")
    wine.reg_set("Top", "60")
    wine.reg_set("Mode", "rich")
    wine.start()
    rect = wine.driver("rect", "TForm1").split()
    check(rect == ["50", "60", "640", "420"], "window at %r" % rect)
    wine.close_main_window()
    store = wine.reg_query()
    check(store["Width"] == "640" and store["Mode"] == "rich", "stored %r" % store)


def a_missing_file_on_the_command_line_is_reported(wine):
    wine.reg_delete_key()
    wine.start("C:\\no such folder\\missing file.txt", wait_for="#32770")
    check(wine.title("#32770") == "Mibor8", "box caption " + wine.title("#32770"))
    texts = wine.driver("children", "#32770")
    check("Cannot open file C:\\no such folder\\missing file.txt." in texts, "box text: " + texts)
    wine.driver("close", "#32770")
    wine.driver("gone", "#32770")
    wine.wait_window("TForm1")
    check(wine.title("TForm1") == "Mibor8", "caption")
    wine.close_main_window()


def an_unquoted_path_with_blanks_opens_that_file(wine):
    wine.reg_delete_key()
    wine.write_file("C:\\My Notes\\a letter.txt", "Dear reader")
    wine.start("C:\\My", "Notes\\a", "letter.txt")
    check(wine.title("TForm1") == "Mibor8 - C:\\My Notes\\a letter.txt", "caption " + wine.title("TForm1"))
    wine.close_main_window()
    check(wine.reg_query()["ReOpen"] == "C:\\My Notes\\a letter.txt", "ReOpen")


run([first_start_writes_the_defaults_and_the_window_state_at_close,
     a_second_start_reads_the_stored_window_state,
     a_missing_file_on_the_command_line_is_reported,
     an_unquoted_path_with_blanks_opens_that_file])
