"""Printing end to end: the built editor prints on the PDF printers "PDF" and
"Second" of a CUPS server that the test starts and stops (see
tests/printing/cups_printer.py); skipped (exit 77) with the reason where no
such server can run."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "printing"))
from cups_printer import SKIP, CupsServer, pdf_fonts, pdf_info, pdf_text, start_or_say_why  # noqa: E402
from harness import check, run, wait_for  # noqa: E402

DOCUMENT = "C:\\mibor8-print\\letter.rtf"
PLAIN = "C:\\mibor8-print\\письмо.txt"
RICH = (b"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 Dear reader,\\par"
        b"\\b This line is bold\\b0\\par And this one is not.\\par}")

server = None


def start_with_the_rich_document(wine):
    """A store of rich mode, in which the document is read as rich text."""
    wine.reg_delete_key()
    wine.reg_set("Mode", "rich")
    wine.write_file(DOCUMENT, RICH)
    wine.start(DOCUMENT)


def open_print_dialog(wine):
    wine.keys("ctrl+p")
    wine.wait_window("#32770")
    check(wine.title("#32770") == "Print", "the window shown is %r" % wine.title("#32770"))


def chosen_printer(wine):
    return wine.control("#32770", cls="ComboBox")["text"]


def boxes(wine):
    return [title for kind, title in wine.windows() if kind == "#32770"]


def ctrl_p_and_enter_print_the_bold_line_in_a_bold_font(wine):
    start_with_the_rich_document(wine)
    before = len(server.pdfs("PDF"))
    open_print_dialog(wine)
    check(chosen_printer(wine) == "PDF", "the dialog opened on " + chosen_printer(wine))
    wine.keys("Return", title="^Print$", settle=False)
    pdfs = server.wait_for_pdfs(before + 1, "PDF")
    check(len(pdfs) == before + 1, "%d PDF files after one job" % (len(pdfs) - before))
    check(pdf_info(pdfs[-1]).get("Title") == "Mibor8", "title %r" % pdf_info(pdfs[-1]).get("Title"))
    text = pdf_text(pdfs[-1]).split()
    check(text == "Dear reader, This line is bold And this one is not.".split(), "printed text: %r" % text)
    fonts = pdf_fonts(pdfs[-1])
    check(any("Bold" in font for font in fonts), "no bold font among %s" % fonts)
    check(any("Bold" not in font for font in fonts), "no regular font among %s" % fonts)
    wine.close_main_window()


def a_cyrillic_line_is_printed_as_it_reads(wine):
    line = "Жёлтый клён шелестит — Grüße €"
    wine.reg_delete_key()
    wine.start()
    wine.close_main_window()  # the store now holds plain mode
    wine.write_file(PLAIN, (line + "\r\n").encode("utf-8"))
    wine.start(PLAIN)
    before = len(server.pdfs("PDF"))
    open_print_dialog(wine)
    wine.keys("Return", title="^Print$", settle=False)
    pdfs = server.wait_for_pdfs(before + 1, "PDF")
    check(len(pdfs) == before + 1, "%d PDF files after one job" % (len(pdfs) - before))
    text = pdf_text(pdfs[-1]).split()
    check(text == line.split(), "printed text: %r (fonts %s)" % (text, pdf_fonts(pdfs[-1])))
    wine.close_main_window()


def the_dialog_opens_on_the_printer_chosen_last_and_cancel_prints_nothing(wine):
    start_with_the_rich_document(wine)
    counts = lambda: (len(server.pdfs("PDF")), len(server.pdfs("Second")))
    first, second = counts()
    open_print_dialog(wine)
    # The printer list has the focus: the next printer, as the user picks it.
    wine.keys("Down", title="^Print$")
    check(chosen_printer(wine) == "Second", "chose " + chosen_printer(wine))
    wine.keys("Return", title="^Print$", settle=False)
    check(len(server.wait_for_pdfs(second + 1, "Second")) == second + 1, "nothing printed on Second")

    open_print_dialog(wine)
    check(chosen_printer(wine) == "Second", "the dialog opened again on " + chosen_printer(wine))
    wine.keys("Escape", title="^Print$", settle=False)
    check(wait_for(lambda: not boxes(wine)), "windows left after Cancel: %s" % boxes(wine))
    # The program prints before it takes the next message: once it is idle, a job
    # would be with the server, waiting or done.
    wine.idle("TForm1")
    check(counts() == (first, second + 1) and not server.jobs_pending(), "Cancel printed something")
    check(not boxes(wine), "Cancel showed %s" % boxes(wine))

    open_print_dialog(wine)
    wine.keys("Return", title="^Print$", settle=False)
    check(len(server.wait_for_pdfs(second + 2, "Second")) == second + 2, "the second job did not go to Second")
    check(counts()[0] == first, "a job went to PDF")
    wine.close_main_window()


def with_no_printer_the_message_is_the_only_box(wine):
    socket = os.environ["CUPS_SERVER"]
    os.environ["CUPS_SERVER"] = os.path.join(wine.build, "no-cups-here.sock")
    try:
        wine.start()
        # Each look once the program is idle: it waits in the box, then in its main window.
        wine.keys("ctrl+p")
        wine.wait_window("#32770")
        check(boxes(wine) == ["Mibor8"], "windows shown: %s" % boxes(wine))
        texts = wine.driver("children", "#32770")
        check("Printer does not work!" in texts, "box: " + texts)
        wine.driver("click", "#32770", "OK")
        check(wait_for(lambda: not boxes(wine)), "the box stayed")
        wine.idle("TForm1")
        check(not boxes(wine), "another window followed: %s" % boxes(wine))
        wine.close_main_window()
    finally:
        os.environ["CUPS_SERVER"] = socket


def main():
    global server
    build = os.path.abspath(sys.argv[1])
    server = CupsServer(build, printers=("PDF", "Second"), name="cups-e2e")
    reason = start_or_say_why(server)
    if reason:
        print("[SKIP] " + reason)
        sys.exit(SKIP)
    os.environ.update(server.env())
    try:
        run([ctrl_p_and_enter_print_the_bold_line_in_a_bold_font, a_cyrillic_line_is_printed_as_it_reads,
             the_dialog_opens_on_the_printer_chosen_last_and_cancel_prints_nothing,
             with_no_printer_the_message_is_the_only_box])
    finally:
        server.stop()


main()
