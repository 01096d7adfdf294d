"""The word list of the built editor: entries typed with Enter, inserted with
"Insert >>" and with a double-click, exported through the Tools menu and its
save dialog, emptied after a "Confirm" box, imported back, and stored at exit."""
import os

from harness import check, run, wait_for

EXPORTED = "C:\\mibor8-e2e\\words.mib"


class Panel:
    """The side panel's controls, found by class, caption and place."""

    def __init__(self, wine):
        self.wine = wine
        self.list = wine.control("TForm1", cls="ListBox")
        top = self.list["rect"][1]
        # The entry field lies just above the list, in the same panel.
        fields = [c for c in wine.controls("TForm1") if c["cls"] == "Edit" and "v" in c["flags"] and
                  c["rect"][1] + c["rect"][3] <= top and abs(c["rect"][0] - self.list["rect"][0]) < 20]
        check(fields, "no entry field above the list")
        self.field = max(fields, key=lambda c: c["rect"][1])
        self.editor = wine.control("TForm1", cls="RICHEDIT")

    def entries(self):
        return self.wine.list_items(self.list["handle"])

    def enabled(self, caption):
        return "e" in self.wine.control("TForm1", caption)["flags"]

    def buttons(self):
        """"Add", "Remove", "Insert >>": the initial when enabled, "-" when not."""
        return "".join(caption[0] if self.enabled(caption) else "-" for caption in ["Add", "Remove", "Insert >>"])

    def document(self):
        return self.wine.text(self.editor["handle"])

    def focused(self):
        return self.wine.focus()["handle"]

    def click_entry(self, index, double=False):
        rect = self.wine.list_item_rect(self.list["handle"], index)
        if double:
            self.wine.double_click_rect(rect)
        else:
            self.wine.click_rect(rect)


def open_tools_menu_item(wine, downs):
    """Opens the Tools menu from the keyboard and chooses the item `downs` below its first."""
    wine.keys("F10", "Right", "Right", "Down", *(["Down"] * downs), "Return")


def answer_file_dialog(wine, title, path):
    wine.wait_window("#32770")
    check(wine.title("#32770") == title, "dialog " + wine.title("#32770"))
    wine.type_text(path, title="^%s$" % title)
    wine.keys("Return", title="^%s$" % title, settle=False)
    wine.driver("gone", "#32770")


def entries_typed_inserted_exported_emptied_and_stored(wine):
    wine.reg_delete_key()
    wine.start()
    wine.close_main_window()  # a full store: the next start reads the list
    wine.start()
    panel = Panel(wine)
    check(panel.entries() == ([], None) and panel.buttons() == "---", "start: %r %s" %
          (panel.entries(), panel.buttons()))

    # Two entries typed into the entry field, each added with Enter.
    wine.click_rect(panel.field["rect"])
    for word in ["pear", "and"]:
        wine.type_text(word)
        check(panel.buttons() in ("A--", "ARI"), "typing enables Add: " + panel.buttons())
        wine.keys("Return")
    check(panel.entries() == (["and", "pear"], None), "entries %r" % (panel.entries(),))
    check(wine.text(panel.field["handle"]) == "", "the field kept its text")
    check(panel.buttons() == "-RI", "after adding: " + panel.buttons())
    check(panel.focused() == panel.field["handle"], "adding moved the focus")

    # "Insert >>" puts the selected entry at the caret, a space after it.
    wine.click_rect(panel.editor["rect"])
    wine.type_text("a xyz b")
    wine.keys("ctrl+Home")
    panel.click_entry(1)
    wine.click_control("TForm1", "Insert >>")
    check(panel.document() == "pear a xyz b", "document %r" % panel.document())
    check(panel.focused() == panel.editor["handle"], "the focus is not in the editor")
    check(panel.entries() == (["and", "pear"], 1), "the entry did not stay selected")

    # A space before as well, ticked in the Preferences window and read at the next insertion.
    wine.keys("ctrl+alt+p")
    wine.wait_window("TForm2")
    wine.click_control("TForm2", "Add text panel")
    wine.click_control("TForm2", "Add a space before inserting a word")
    wine.click_control("TForm2", "Ok", settle=False)
    wine.driver("gone", "TForm2")
    wine.idle("TForm1")

    # A double-click over the selected word "xyz": the selection is replaced.
    wine.click_rect(panel.editor["rect"])
    wine.keys("End", "Left", "Left", "shift+Left", "shift+Left", "shift+Left")
    check(wine.selection(panel.editor["handle"]) == (7, 3), "selection %r" % (wine.selection(panel.editor["handle"]),))
    panel.click_entry(0, double=True)
    check(panel.document() == "pear a  and  b", "document %r" % panel.document())
    check(wine.selection(panel.editor["handle"]) == (12, 0), "the caret is not after the insertion")
    check(panel.focused() == panel.editor["handle"], "the focus is not in the editor")

    # Export through the Tools menu (its fifth item) and the save dialog; ".mib" is added.
    os.makedirs(os.path.dirname(wine.c_path(EXPORTED)), exist_ok=True)
    open_tools_menu_item(wine, 3)
    answer_file_dialog(wine, "Save As", EXPORTED[:-4])
    check(wait_for(lambda: os.path.exists(wine.c_path(EXPORTED))), "no file exported")
    check(wine.read_file(EXPORTED) == b"and\r\npear\r\n", "exported %r" % wine.read_file(EXPORTED))

    # Empty: "Cancel" keeps every entry, "OK" empties the list.
    for answer, expected in [("Cancel", ["and", "pear"]), ("OK", [])]:
        wine.click_toolbar_button("Empty wordlist...")
        wine.wait_window("#32770")
        check(wine.title("#32770") == "Confirm", "box caption " + wine.title("#32770"))
        check("Mibor will now empty the wordlist." in wine.driver("children", "#32770"), "box text")
        wine.click_control("#32770", answer, settle=False)
        wine.driver("gone", "#32770")
        wine.idle("TForm1")
        check(panel.entries()[0] == expected, "after %s: %r" % (answer, panel.entries()))
    check(panel.buttons() == "---", "after emptying: " + panel.buttons())

    # A click on the empty list leaves the focus in the editor.
    wine.click_rect(panel.field["rect"])
    check(panel.focused() == panel.field["handle"], "the field did not take the focus")
    wine.click_rect(panel.list["rect"])
    check(panel.focused() == panel.editor["handle"], "the empty list kept the focus")

    # Imported back from the toolbar, then stored at exit.
    wine.click_toolbar_button("Import wordlist...")
    answer_file_dialog(wine, "Open", EXPORTED)
    check(wait_for(lambda: panel.entries()[0] == ["and", "pear"]), "imported %r" % (panel.entries(),))
    check(panel.buttons() == "-RI", "after importing: " + panel.buttons())
    wine.close_main_window()
    stored = wine.reg_value("WordList")
    check(stored == b"and\r\npear\r\n", "WordList is %r" % stored)


run([entries_typed_inserted_exported_emptied_and_stored])
