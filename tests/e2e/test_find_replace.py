"""The find bar end to end: Find with Enter in the find field up to the end
message, Replace all with "Match case" off and on, and Ctrl+F hiding and
showing the bar with the choice in the registry at once."""
from harness import check, run, wait_for

FINISHED = "Finished searching/replacing."


class FindBar:
    """The bar's fields and the editor, found where the program reports them,
    in the editor started afresh with a text typed."""

    def __init__(self, wine, text):
        self.wine = wine
        wine.reg_delete_key()
        wine.start()
        wine.type_text(text)

    def field_before(self, caption):
        """The field just left of a bar button, on the button's row."""
        x, y = (int(n) for n in self.wine.driver("button", "TForm1", caption).split())
        fields = [c for c in self.wine.controls("TForm1") if c["cls"] == "Edit" and "v" in c["flags"] and
                  c["rect"][1] <= y <= c["rect"][1] + c["rect"][3] and c["rect"][0] + c["rect"][2] <= x]
        check(fields, "no field before " + caption)
        return max(fields, key=lambda c: c["rect"][0])

    def editor(self):
        return self.wine.control("TForm1", cls="RICHEDIT")

    def editor_text(self):
        return self.wine.driver("text", self.editor()["handle"]).rstrip("\n")

    def selection(self):
        return self.wine.selection(self.editor()["handle"])

    def type_into(self, caption, text):
        self.wine.click_rect(self.field_before(caption)["rect"])
        self.wine.type_text(text)

    def enter_in(self, caption):
        self.wine.click_rect(self.field_before(caption)["rect"])
        self.wine.keys("Return")

    def finished_box(self):
        """Waits for the end message, checks it and presses its OK."""
        self.wine.wait_window("#32770")
        check(self.wine.title("#32770") == "Mibor8", "box caption " + self.wine.title("#32770"))
        texts = self.wine.driver("children", "#32770")
        check(FINISHED in texts, "box: " + texts)
        self.wine.driver("click", "#32770", "OK")
        check(wait_for(lambda: not any(kind == "#32770" for kind, _ in self.wine.windows())), "the box stayed")

    def option(self, position):
        """Toggles the options menu's item at `position` (1 to 4) with the keyboard."""
        self.wine.click_toolbar_button(" Options")
        self.wine.wait_window("#32768")
        self.wine.xdotool("key", "--delay", "100", *["Down"] * position, "Return")


def enter_in_the_find_field_finds_each_match_then_reports_the_end(wine):
    bar = FindBar(wine, "a cat, a cat")
    bar.type_into(" Find", "cat")
    wine.keys("Return")
    check(wait_for(lambda: bar.selection() == (2, 3)), "first Find selects %r" % (bar.selection(),))
    check(wine.focus()["cls"] == "RICHEDIT", "the editor has the focus after a match")
    bar.enter_in(" Find")
    check(wait_for(lambda: bar.selection() == (9, 3)), "second Find selects %r" % (bar.selection(),))
    bar.enter_in(" Find")
    bar.finished_box()
    check(bar.selection() == (12, 0), "after the end the caret is at %r" % (bar.selection(),))
    check(bar.editor_text() == "a cat, a cat", "the text changed: %r" % bar.editor_text())
    check(wine.driver("text", bar.field_before(" Find")["handle"]).rstrip("\n") == "cat", "the find field changed")
    wine.close_main_window()


def replace_all_with_match_case_off_and_on(wine):
    bar = FindBar(wine, "Cat cat CAT")
    bar.type_into(" Find", "cat")
    bar.type_into(" Replace", "Dog")
    wine.click_toolbar_button(" Replace all")
    bar.finished_box()
    check(bar.editor_text() == "dog dog dog", "match case off gives %r" % bar.editor_text())

    wine.keys("ctrl+End")
    wine.type_text(" Cat cat CAT")
    bar.option(4)  # "Match case"
    wine.click_rect(bar.editor()["rect"])
    wine.keys("ctrl+Home")
    wine.click_toolbar_button(" Replace all")
    bar.finished_box()
    check(bar.editor_text() == "dog dog dog Cat Dog CAT", "match case on gives %r" % bar.editor_text())
    wine.close_main_window()


def ctrl_f_hides_and_shows_the_bar_and_stores_it_at_once(wine):
    bar = FindBar(wine, "")

    def find_button_shown():
        return any(b["text"] == " Find" and "v" in b["flags"] for b in wine.toolbar_buttons())

    check(wine.reg_query().get("ShowToolbar5") == "true", "a first start stores the bar shown")
    check(find_button_shown(), "the bar is not shown at first")
    wine.keys("ctrl+f")
    check(wait_for(lambda: not find_button_shown(), 5), "Ctrl+F left the bar shown")
    check(wine.reg_query().get("ShowToolbar5") == "false", "ShowToolbar5 is not false")
    wine.keys("ctrl+f")
    check(wait_for(find_button_shown, 5), "the second Ctrl+F left the bar hidden")
    check(wine.reg_query().get("ShowToolbar5") == "true", "ShowToolbar5 is not true")
    wine.type_text("typed")
    check(wait_for(lambda: bar.editor_text() == "typed"), "typing after Ctrl+F gave %r" % bar.editor_text())
    wine.close_main_window()


run([enter_in_the_find_field_finds_each_match_then_reports_the_end,
     replace_all_with_match_case_off_and_on,
     ctrl_f_hides_and_shows_the_bar_and_stores_it_at_once])
