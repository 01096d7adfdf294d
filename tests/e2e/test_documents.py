"""Documents end to end: a file from the command line changed by typing and
saved with Ctrl+S, and Ctrl+R after a restart; files named in Cyrillic from the
command line, a drop and the Open and Save as dialogs; files in several
encodings saved back in theirs, or in the one chosen in Save as."""

from harness import check, run, wait_for

DOCUMENT = "C:\\mibor8-docs\\letter.txt"
LETTER = "C:\\Письмо другу.txt"
MIXED = "Grüße Привет 你好 €"


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


def store_plain_mode(wine):
    wine.reg_delete_key()
    wine.start()
    wine.close_main_window()


def editor_text(wine):
    return wine.text(wine.control("TForm1", cls="RICHEDIT")["handle"])


def typed_text_is_saved_in_the_file_s_own_encoding_under_its_own_name(wine):
    """Each file from the command line, text typed at its end, Ctrl+S: the file's bytes
    followed by the text in the file's encoding."""
    cases = [("UTF-8 named in Cyrillic", LETTER, "Дорогой друг,\r\n", "utf-8", b"", "Привет, Bob!"),
             ("UTF-8 with a byte order mark", DOCUMENT, MIXED, "utf-8", b"\xef\xbb\xbf", "X"),
             ("UTF-16 LE", DOCUMENT, MIXED, "utf-16-le", b"\xff\xfe", "Ж")]
    store_plain_mode(wine)
    for name, path, text, codec, bom, typed in cases:
        wine.write_file(path, bom + text.encode(codec))
        wine.start(path)
        check(wine.title("TForm1") == "Mibor8 - " + path, "%s: caption %r" % (name, wine.title("TForm1")))
        check(editor_text(wine) == text.replace("\r\n", "\n"), "%s: shown as %r" % (name, editor_text(wine)))
        wine.keys("ctrl+End")
        wine.type_text(typed)
        wine.keys("ctrl+s")
        expected = bom + text.encode(codec) + typed.encode(codec)
        check(wait_for(lambda: wine.read_file(path) == expected), "%s: the file holds %r" % (name, wine.read_file(path)))
        wine.close_main_window()


def an_ansi_file_given_cyrillic_is_saved_as_utf8_after_one_message(wine):
    wine.write_file(DOCUMENT, "Café".encode("cp1252"))
    store_plain_mode(wine)
    wine.start(DOCUMENT)
    wine.keys("ctrl+End")
    wine.type_text(" Ж")
    wine.keys("ctrl+s", settle=False)
    wine.wait_window("#32770")
    texts = wine.driver("children", "#32770")
    check("This text holds characters that the ANSI code page cannot store; it was saved as UTF-8." in texts,
          "box: " + texts)
    check(wine.read_file(DOCUMENT) == "Café Ж".encode("utf-8-sig"), "the file holds %r" % wine.read_file(DOCUMENT))
    wine.driver("click", "#32770", "OK")
    wine.driver("gone", "#32770")
    # The document is UTF-8 from then on: the next save says nothing.
    wine.type_text("ж")
    wine.keys("ctrl+s")
    check(wait_for(lambda: wine.read_file(DOCUMENT) == "Café Жж".encode("utf-8-sig")),
          "the second save wrote %r" % wine.read_file(DOCUMENT))
    check(not any(kind == "#32770" for kind, _ in wine.windows()), "the second save showed %r" % wine.windows())
    wine.close_main_window()


def cyrillic_names_through_a_drop_and_the_open_and_save_as_dialogs(wine):
    folder = "C:\\Папка"
    other, copy = folder + "\\Ещё одно.txt", folder + "\\Копия.txt"
    wine.write_file(LETTER, "Дорогой друг,\r\n".encode("utf-8"))
    wine.write_file(other, "Второй файл\r\n".encode("utf-8"))
    store_plain_mode(wine)
    wine.start()
    wine.drop("TForm1", LETTER)
    check(wait_for(lambda: wine.title("TForm1") == "Mibor8 - " + LETTER), "after the drop: %r" % wine.title("TForm1"))
    check(editor_text(wine) == "Дорогой друг,\n", "the dropped file shows %r" % editor_text(wine))

    wine.keys("ctrl+o")
    wine.wait_window("#32770")
    wine.type_text(other, title="^Open$")
    wine.keys("Return", title="^Open$", settle=False)
    check(wait_for(lambda: wine.title("TForm1") == "Mibor8 - " + other), "after Open: %r" % wine.title("TForm1"))
    check(editor_text(wine) == "Второй файл\n", "the opened file shows %r" % editor_text(wine))

    wine.keys("ctrl+alt+s")
    wine.wait_window("#32770")
    dialog = "^Save As$"
    wine.type_text(copy, title=dialog)
    encoding = wine.control("#32770", text="UTF-8", cls="ComboBox")  # the document's own, to begin with
    wine.click_rect(encoding["rect"])
    wine.wait_window("ComboLBox")
    wine.click_at(*(int(n) for n in wine.driver("entry", "ComboLBox", "UTF-16 LE").split()))
    wine.control("#32770", cls="ComboBox", text="UTF-16 LE")  # the list took the choice
    wine.keys("Return", title=dialog, settle=False)
    check(wait_for(lambda: wine.title("TForm1") == "Mibor8 - " + copy), "after Save as: %r" % wine.title("TForm1"))
    written = b"\xff\xfe" + "Второй файл\r\n".encode("utf-16-le")
    check(wine.read_file(copy) == written, "Save as wrote %r" % wine.read_file(copy)[:40])
    wine.close_main_window()


run([typed_changes_are_saved_and_reopened_after_a_restart, reopen_without_a_last_file_tells_how_to_get_one,
     typed_text_is_saved_in_the_file_s_own_encoding_under_its_own_name,
     an_ansi_file_given_cyrillic_is_saved_as_utf8_after_one_message,
     cyrillic_names_through_a_drop_and_the_open_and_save_as_dialogs])
