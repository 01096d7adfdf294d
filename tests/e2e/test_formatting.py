"""The formatting toolbar and the indent ruler of the built editor in rich
mode, driven with the real mouse and keyboard: a line made bold, given a
font from the list, two points more, red and centred, its indents dragged
on the ruler, saved as RTF; then the caret in the plain second line shows
the default state."""
import os
import re

from harness import check, run, wait_for

DOCUMENT = "C:\\mibor8-formatting\\formatted.rtf"


def points(pixels):
    """Pixels to points, truncating towards zero."""
    return int(pixels * 3 / 4)


class Toolbar:
    """The formatting controls and the ruler as the program reports them."""

    def __init__(self, wine):
        controls = wine.controls("TForm1")
        self.combo = next(c for c in controls if c["cls"] == "ComboBox" and "v" in c["flags"])
        self.size = next(c for c in controls if c["cls"] == "Edit" and c["text"].isdigit())
        self.arrows = min((c for c in controls if c["cls"] == "msctls_updown32"),
                          key=lambda c: abs(c["rect"][0] - self.size["rect"][0]))
        markers = [c for c in controls if c["cls"] == "TImage" and "v" in c["flags"]]
        check(len(markers) == 3, "markers: %r" % markers)
        top = min(m["rect"][1] for m in markers)
        lower = sorted((m for m in markers if m["rect"][1] > top), key=lambda m: m["rect"][0])
        self.first = next(m for m in markers if m["rect"][1] == top)
        self.left, self.right = lower[0], lower[-1]
        # The ruler: the narrowest panel around the markers.
        mx, my = self.first["rect"][:2]
        self.ruler = min((c for c in controls if c["cls"] == "TPanel" and c["rect"][0] <= mx < c["rect"][0] + c["rect"][2]
                          and c["rect"][1] <= my < c["rect"][1] + c["rect"][3]), key=lambda c: c["rect"][2])
        self.buttons = {b["hint"]: b for b in wine.toolbar_buttons()}

    def marker_left(self, marker):
        return marker["rect"][0] - self.ruler["rect"][0]

    def width(self):
        return self.ruler["rect"][2]


def drag(wine, marker, by):
    """Drags the marker `by` pixels across in four steps, each handled before the next."""
    x, y, w, h = marker["rect"]
    x, y = x + w // 2, y + h // 2
    wine.xdotool("mousemove", str(x), str(y))
    wine.xdotool("mousedown", "1")
    for step in range(1, 5):
        wine.xdotool("mousemove", str(x + by * step // 4), str(y))
    wine.xdotool("mouseup", "1")
    wine.xdotool("mousemove", str(x + by), str(y + 200))


def choose_font(wine, toolbar):
    x, y, w, h = toolbar.combo["rect"]
    wine.click_at(x + w - 8, y + h // 2)
    wine.wait_window("ComboLBox")
    # The last entry: the list scrolls to it.
    fonts = [f for f in wine.driver("entries", "ComboLBox").splitlines()
             if f and not f.startswith("@") and f != toolbar.combo["text"]]
    check(fonts, "no fonts to choose from")
    x, y = (int(n) for n in wine.driver("entry", "ComboLBox", fonts[-1]).split())
    wine.click_at(x, y)
    return fonts[-1]


def screenshot(wine, toolbar, name):
    """The formatting toolbar down to the ruler."""
    bar = toolbar.buttons["Bold"]["rect"]
    ruler = toolbar.ruler["rect"]
    left, top = min(bar[0], ruler[0]) - 4, bar[1] - 4
    width = max(ruler[0] + ruler[2], toolbar.buttons[""]["rect"][0] + 30) - left
    height = ruler[1] + ruler[3] + 20 - top
    wine.screenshot(os.path.join(wine.build, "e2e-screenshots", "formatting-%s.png" % name), (left, top, width, height),
                    "TForm1")


def a_formatted_line_is_saved_with_its_formatting_and_indents(wine):
    wine.reg_delete_key()
    wine.start()
    wine.close_main_window()
    wine.reg_set("Mode", "rich")
    wine.write_file(DOCUMENT, b"")
    os.remove(wine.c_path(DOCUMENT))
    wine.start()
    wine.type_text("first line")
    wine.keys("Return")
    wine.type_text("second line")
    wine.keys("ctrl+Home", "shift+End")

    toolbar = Toolbar(wine)
    wine.click_toolbar_button("Bold")
    font = choose_font(wine, toolbar)
    shown = int(Toolbar(wine).size["text"])
    ux, uy, uw, uh = toolbar.arrows["rect"]
    wine.click_at(ux + uw // 2, uy + uh // 4)
    wine.click_at(ux + uw // 2, uy + uh // 4)
    check(Toolbar(wine).size["text"] == str(shown + 2), "size field: " + Toolbar(wine).size["text"])
    wine.click_toolbar_button("Select color...")
    wine.wait_window("#32768")
    wine.xdotool("key", "--delay", "60", *["Down"] * 5, "Return")  # White, Silver, Gray, Black, Red
    wine.click_toolbar_button("Center")

    # Each marker dragged 40 pixels; the indents are those of its place at the release.
    before = Toolbar(wine)
    width = before.width()
    drag(wine, before.first, 40)
    first_at = Toolbar(wine)
    first = points(before.marker_left(before.first) + 40 - 1)
    check(first_at.marker_left(first_at.first) == before.marker_left(before.first) + 40, "first-line marker")
    drag(wine, first_at.left, 40)
    left = points(first_at.marker_left(first_at.left) + 40 - 1) - first
    dragged = Toolbar(wine)
    drag(wine, dragged.right, -40)
    right = points(width + 5 - (dragged.marker_left(dragged.right) - 40) - 2) - 12
    after = Toolbar(wine)
    check(after.marker_left(after.right) == width - int((right + 6) * 4 / 3) - 6, "right marker placed anew")

    wine.keys("ctrl+alt+s")
    wine.wait_window("#32770")
    wine.type_text(DOCUMENT, title="^Save")
    wine.keys("Return", title="^Save", settle=False)  # the dialog closes
    check(wait_for(lambda: os.path.exists(wine.c_path(DOCUMENT)) and
                   wine.read_file(DOCUMENT).rstrip(b"\0\r\n").endswith(b"}")), "nothing saved")
    rtf = wine.read_file(DOCUMENT).decode("cp1252")
    first_paragraph = rtf[:rtf.index("first line") + len("first line")]
    paragraph_start = first_paragraph.rfind("\\pard")
    paragraph = first_paragraph[paragraph_start:]
    check("\\b" in re.findall(r"\\b(?![a-z])0?", paragraph), "not bold: " + paragraph)
    check("\\fs%d" % (2 * (shown + 2)) in paragraph, "size: " + paragraph)
    check("\\qc" in paragraph, "not centred: " + paragraph)
    fonts = dict(re.findall(r"\{\\f(\d+)[^ ;]* ([^;]+);\}", rtf))
    used = re.findall(r"\\f(\d+)(?![0-9a-z])", paragraph)
    check(used and fonts.get(used[-1]) == font, "font %r, table %r: %s" % (font, fonts, paragraph))
    colours = re.findall(r"\\red(\d+)\\green(\d+)\\blue(\d+)", rtf[rtf.index("\\colortbl"):])
    colour = re.findall(r"\\cf(\d+)", paragraph)
    check(colour and colours[int(colour[-1]) - 1] == ("255", "0", "0"), "colour %r of %r" % (colour, colours))
    # RTF has \li for the other lines and \fi for the first line relative to
    # them; Wine's rich edit writes the first-line indent as \fi and the other
    # lines' offset from it as \li. Either way the control's indents are these.
    found = {word: int((re.findall(r"\\%s(-?\d+)" % word, paragraph) or ["0"])[-1]) for word in ("li", "fi", "ri")}
    standard = {"li": (first + left) * 20, "fi": -left * 20, "ri": right * 20}
    wine_rtf = {"li": left * 20, "fi": first * 20, "ri": right * 20}
    check(found in (standard, wine_rtf), "indents %r, wanted %r: %s" % (found, standard, paragraph))

    # The caret in the second line (a click into the editor below the text,
    # the font box having the focus): the toolbar and ruler show its default state.
    editor = max((c for c in wine.controls("TForm1") if c["cls"] == "RICHEDIT" and "v" in c["flags"]),
                 key=lambda c: c["rect"][2] * c["rect"][3])
    wine.click_at(editor["rect"][0] + 100, editor["rect"][1] + 150)
    wine.keys("ctrl+End")
    state = Toolbar(wine)
    check(state.size["text"] == "8" and state.combo["text"] == "Tahoma", "size %s, font %s" % (
        state.size["text"], state.combo["text"]))
    for hint, down in (("Bold", False), ("Italic", False), ("Underline", False), ("Align left", True),
                       ("Center", False), ("Align right", False)):
        check(("d" in state.buttons[hint]["flags"]) == down, "%s down: %s" % (hint, state.buttons[hint]["flags"]))
    check(state.marker_left(state.first) == before.marker_left(before.first) and
          state.marker_left(state.right) == before.marker_left(before.right), "markers not at the default margins")
    screenshot(wine, state, "second-line")
    wine.close_main_window()


run([a_formatted_line_is_saved_with_its_formatting_and_indents])
