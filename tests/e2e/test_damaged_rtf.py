"""A damaged RTF file never brings the program down: started with it, or
opening it over text never saved, the program stays, the file shows as plain
text with its mark-up, and the text it replaced is kept in the backup."""

from harness import check, run, wait_for

DAMAGED = "C:\\mibor8-docs\\cut.rtf"
# Groups nested past what the rich edit control survives, and cut short.
CONTENT = b"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}" + b"{\\b " * 40 + b"cut short"


def shown_text(wine):
    wine.keys("ctrl+alt+c")  # Copy all
    return wine.clipboard()


def a_damaged_file_on_the_command_line_shows_as_text(wine):
    wine.reg_delete_key()
    wine.write_file(DAMAGED, CONTENT)
    wine.start(DAMAGED)
    check(wine.title("TForm1") == "Mibor8 - " + DAMAGED, "caption " + wine.title("TForm1"))
    check(shown_text(wine) == CONTENT.decode("ascii"), "the editor shows %r" % shown_text(wine))
    wine.close_main_window()


def a_damaged_file_opened_over_unsaved_text_keeps_that_text(wine):
    wine.reg_delete_key()
    wine.write_file(DAMAGED, CONTENT)
    wine.start()
    wine.type_text("never saved")
    wine.keys("ctrl+o", settle=False)
    wine.wait_window("#32770")
    wine.type_text(DAMAGED, title="^Open$")
    wine.keys("Return", title="^Open$", settle=False)
    check(wait_for(lambda: wine.title("TForm1") == "Mibor8 - " + DAMAGED), "caption " + wine.title("TForm1"))
    wine.idle("TForm1")
    check(shown_text(wine) == CONTENT.decode("ascii"), "the editor shows %r" % shown_text(wine))
    check(wine.read_file("C:\\Mibor8- Backup") == b"never saved",
          "the backup holds %r" % wine.read_file("C:\\Mibor8- Backup"))
    wine.close_main_window()


run([a_damaged_file_on_the_command_line_shows_as_text, a_damaged_file_opened_over_unsaved_text_keeps_that_text])
