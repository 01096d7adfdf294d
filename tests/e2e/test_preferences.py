"""The Preferences window of the built editor: opened with Ctrl+Alt+P, each
page shown and photographed, a toolbar choice made with the keyboard alone and
stored after "Ok" (reached by Tab, pressed by Space)."""
import os

from harness import check, run, run_command

# The page buttons in the right column, by caption.
PAGES = ["Info", "General", "Toolbars", "Backup and save", "Add text panel", "E-mail"]


class Preferences:
    """The open window, its controls found by their captions."""

    def __init__(self, wine):
        self.wine = wine
        self.left, self.top, self.width, self.height = (int(n) for n in wine.driver("rect", "TForm2").split())

    def click(self, text=None, cls=None, settle=True):
        self.wine.click_control("TForm2", text, cls, settle=settle)

    def press(self, caption, closes=False):
        """Tab to the control with that caption, then Space."""
        self.wine.tab_to("TForm2", caption, "^Preferences$")
        self.wine.keys("space", title="^Preferences$", settle=not closes)

    def ok(self):
        """Closes the window with "Ok", once the main window has handled that too."""
        self.click("Ok", settle=False)
        self.wine.driver("gone", "TForm2")
        self.wine.idle("TForm1")

    def screenshot(self, name):
        self.wine.screenshot(os.path.join(self.wine.build, "e2e-screenshots", "preferences-%s.png" % name),
                             (self.left, self.top, self.width, self.height), "TForm2")


def main_window_screenshot(wine, name):
    rect = tuple(int(n) for n in wine.driver("rect", "TForm1").split())
    wine.screenshot(os.path.join(wine.build, "e2e-screenshots", "main-%s.png" % name), rect, "TForm1")


def open_preferences(wine):
    wine.keys("ctrl+alt+p")
    wine.wait_window("TForm2")
    return Preferences(wine)


def each_page_opens_from_its_button_in_a_centred_window(wine):
    wine.reg_delete_key()
    wine.start()
    wine.type_text("a")
    window = open_preferences(wine)
    check(wine.title("TForm2") == "Preferences", "caption " + wine.title("TForm2"))
    screen_width, screen_height = (int(n) for n in run_command(["xdotool", "getdisplaygeometry"])[1].split())
    check(abs(window.left + window.width // 2 - screen_width // 2) <= 1, "not centred across")
    check(abs(window.top + window.height // 2 - screen_height // 2) <= 1, "not centred down")
    texts = wine.driver("children", "TForm2")
    for caption in PAGES:
        window.click(caption)
        window.screenshot(caption.replace(" ", "-").lower())
    for expected in ["There is 1 line", "There is one character", "The average line length is 1 character",
                     "Memory:", "Free memory:", "Show this toolbar", "Make backup",
                     "Panel size", "SMTP Server:", "Default font..."]:
        check(expected in texts, "no " + expected)
    # Enter and Escape do not close it (looked at once it has handled them).
    window.click("mail.your-provider.example")  # into the "SMTP Server:" field of the E-mail page
    wine.keys("Return", "Escape", title="^Preferences$")
    check(wine.windows() and any(c == "TForm2" for c, _ in wine.windows()), "Enter or Escape closed the window")
    window.ok()
    wine.close_main_window()


def a_toolbar_choice_is_in_the_registry_after_ok(wine):
    wine.reg_delete_key()
    wine.start()
    check(wine.reg_query().get("ShowToolbar1") == "true", "first start writes the toolbar ticked")
    window = open_preferences(wine)
    # With the keyboard alone: the page, the first row's check box (file toolbar), "Ok".
    window.press("Toolbars")
    window.press("Show this toolbar")
    window.screenshot("toolbars-unticked")
    wine.tab_to("TForm2", "Ok", "^Preferences$")
    window.screenshot("ok-focused")
    window.press("Ok", closes=True)
    wine.driver("gone", "TForm2")
    wine.idle("TForm1")
    store = wine.reg_query()
    check(store.get("ShowToolbar1") == "false", "ShowToolbar1 is %r" % store.get("ShowToolbar1"))
    check(store.get("ShowToolbar2") == "true", "ShowToolbar2 changed")
    main_window_screenshot(wine, "file-toolbar-hidden")

    # "Reset all Toolbars" brings it back, ticked in the store after "Ok".
    window = open_preferences(wine)
    window.click("Toolbars")
    window.click("Reset all Toolbars")
    window.ok()
    check(wine.reg_query().get("ShowToolbar1") == "true", "the reset did not tick the file toolbar")
    main_window_screenshot(wine, "toolbars-reset")
    wine.close_main_window()
    store = wine.reg_query()
    check(int(store["Toolbar1Top"]) == int(store["Toolbar2Top"]) == int(store["Toolbar7Top"]), "first row")
    check(int(store["Toolbar3Top"]) == int(store["Toolbar6Top"]) > int(store["Toolbar1Top"]), "second row")
    check(int(store["Toolbar5Top"]) > int(store["Toolbar3Top"]), "third row")


run([each_page_opens_from_its_button_in_a_centred_window,
     a_toolbar_choice_is_in_the_registry_after_ok])
