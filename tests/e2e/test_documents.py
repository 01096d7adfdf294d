"""Documents end to end: a file from the command line changed by typing and
saved with Ctrl+S, and Ctrl+R after a restart."""

from harness import check, run, wait_for

DOCUMENT = "C:\\mibor8-docs\\letter.txt"


def typed_changes_are_saved_and_reopened_after_a_restart(wine):
    wine.reg_delete_key()
    wine.start()
    wine.close_main_window()  # the store now holds plain mode
    wine.write_file(DOCUMENT, b"first line\r\nsecond line\r\n")

    wine.start(DOCUMENT)
    check(wine.title("TForm1") == "Mibor8 - " + DOCUMENT, "caption " + wine.title("TForm1"))
    wine.type_text("typed ")
    wine.keys("ctrl+s")
    saved = lambda: wine.read_file(DOCUMENT) == b"typed first line\r\nsecond line\r\n"
    check(wait_for(saved), "the file holds %r" % wine.read_file(DOCUMENT))
    wine.close_main_window()
    store = wine.reg_query()
    check(store.get("ReOpen") == DOCUMENT, "ReOpen is %r" % store.get("ReOpen"))
    check(wine.read_file("C:\\Mibor8- Backup") == b"typed first line\r\nsecond line\r\n",
          "the close-time backup holds %r" % wine.read_file("C:\\Mibor8- Backup"))

    wine.start()
    check(wine.title("TForm1") == "Mibor8", "caption before Ctrl+R: " + wine.title("TForm1"))
    wine.keys("ctrl+r")
    check(wait_for(lambda: wine.title("TForm1") == "Mibor8 - " + DOCUMENT), "caption " + wine.title("TForm1"))
    # The document is back and current: one more change saved goes into it.
    wine.type_text("again ")
    wine.keys("ctrl+s")
    resaved = lambda: wine.read_file(DOCUMENT) == b"again typed first line\r\nsecond line\r\n"
    check(wait_for(resaved), "after Ctrl+R the file holds %r" % wine.read_file(DOCUMENT))
    wine.close_main_window()


def reopen_without_a_last_file_tells_how_to_get_one(wine):
    wine.reg_delete_key()
    wine.start()
    wine.keys("ctrl+r")
    wine.wait_window("#32770")
    texts = wine.driver("children", "#32770")
    check("There is no last file. To use this, first open" in texts, "box: " + texts)
    check(wine.title("#32770") == "Mibor8", "box caption " + wine.title("#32770"))
    wine.driver("click", "#32770", "OK")
    check(wait_for(lambda: not any(kind == "#32770" for kind, _ in wine.windows())), "the box stayed")
    check(wine.title("TForm1") == "Mibor8", "caption " + wine.title("TForm1"))
    wine.close_main_window()


run([typed_changes_are_saved_and_reopened_after_a_restart, reopen_without_a_last_file_tells_how_to_get_one])
