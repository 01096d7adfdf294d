"""Takes the manual's pictures of the real editor under Wine (build.py runs it;
alone: screenshots.py BUILD OUT_FOLDER, inside scripts/wine-env.sh).

Each picture is a part of the screen: a window, a menu opened from the menu
bar, a toolbar or the side panel. What the built program does not show (a
window whose command is not there yet) is left out, and the manual leaves its
picture out too. OUT_FOLDER/manifest.txt lists every picture taken with its
size in pixels.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from harness import Wine  # noqa: E402

# The main menu's captions, in the order of the menu bar.
MENUS = ["File", "Edit", "Tools", "Help"]
# A toolbar is known by the hint of one of its buttons.
TOOLBARS = {"toolbar-file": "New", "toolbar-edit": "Undo / Redo", "toolbar-tools": "Preferences...",
            "toolbar-find": " Find", "toolbar-format": "Bold", "toolbar-clock": "Insert time"}
PREFERENCE_PAGES = ["Info", "General", "Toolbars", "Backup and save", "Add text panel", "E-mail"]
WORDS = ["Kind regards,", "Mibor8", "meeting", "Orvane", "tomorrow"]


class Camera:
    def __init__(self, wine, folder):
        self.wine = wine
        self.folder = folder
        self.taken = []

    def shoot(self, name, left, top, width, height, window_class="TForm1"):
        """A part of the screen, once `window_class` is idle and two captures in a row are
        equal; 96 pixels an inch on paper, as on the screen."""
        self.wine.screenshot(os.path.join(self.folder, name + ".png"), (left, top, width, height), window_class,
                             "-units", "PixelsPerInch", "-density", "96")
        self.taken.append((name, width, height))

    def window(self, name, window_class, rest_on=None):
        """The whole window; the mouse first rests on the control captioned
        `rest_on`, so that no button shows the colours of a hovering mouse."""
        if rest_on:
            x, y, w, h = self.wine.control(window_class, rest_on)["rect"]
            self.wine.xdotool("mousemove", str(x + w // 2), str(y + h // 2))
        self.shoot(name, *rect(self.wine, window_class), window_class=window_class)

    def write_manifest(self):
        with open(os.path.join(self.folder, "manifest.txt"), "w") as manifest:
            for name, width, height in self.taken:
                manifest.write("%s.png %d %d\n" % (name, width, height))


def rect(wine, window_class):
    return tuple(int(n) for n in wine.driver("rect", window_class).split())


def shown(wine, window_class):
    """Whether the program shows a window of that class, asked once it has handled the
    input that would show it; then once the window is idle."""
    if window_class not in [c for c, _ in wine.windows()]:
        return False
    wine.idle(window_class)
    return True


def union(rects, margin=0):
    left = min(r[0] for r in rects) - margin
    top = min(r[1] for r in rects) - margin
    right = max(r[0] + r[2] for r in rects) + margin
    bottom = max(r[1] + r[3] for r in rects) + margin
    return max(left, 0), max(top, 0), right - max(left, 0), bottom - max(top, 0)


def press(wine, *keys):
    """Types keys into the main window in one go, once it has handled them."""
    wine.xdotool("windowfocus", "--sync", wine.x_window("^Mibor8"), "key", "--delay", "100", *keys)


def open_menu(wine, index, *keys):
    press(wine, "F10", *(["Right"] * index), "Down", *keys)


def close_menus(wine):
    press(wine, "Escape", "Escape", "Escape")


def menus(wine, camera):
    main = rect(wine, "TForm1")
    for index, caption in enumerate(MENUS):
        keys = ("Down", "Right") if caption == "Help" else ()  # and the association sub-menu
        open_menu(wine, index, *keys)
        popups = [tuple(int(n) for n in line.split()) for line in wine.driver("rects", "#32768").splitlines()]
        if popups:
            # The menu bar above the menu, from the window's left edge.
            top_of_window = (main[0], main[1], 10, 10)
            camera.shoot("menu-" + caption.lower(), *union([top_of_window] + popups, 4))
        close_menus(wine)


def toolbars(wine, camera):
    buttons = wine.toolbar_buttons()
    bars = [c["rect"] for c in wine.controls("TForm1") if c["cls"] == "ToolbarWindow32" and "v" in c["flags"]]

    def inside(button, bar):
        x, y = button["rect"][0] + 2, button["rect"][1] + 2
        return bar[0] <= x < bar[0] + bar[2] and bar[1] <= y < bar[1] + bar[3]

    for name, hint in TOOLBARS.items():
        button = next((b for b in buttons if b["hint"] == hint or b["text"] == hint), None)
        bar = next((bar for bar in bars if button and inside(button, bar)), None)
        if bar:
            # A band runs on to the end of its row: the picture ends after the last button.
            right = max(b["rect"][0] + b["rect"][2] for b in buttons if inside(b, bar))
            camera.shoot(name, bar[0] - 2, bar[1] - 2, right - bar[0] + 6, bar[3] + 4)
    camera.shoot("toolbar-area", *union(bars, 2))


def side_panel(wine, camera):
    controls = [c for c in wine.controls("TForm1") if "v" in c["flags"]]
    parts = [c["rect"] for c in controls if c["text"] in ("Add", "Remove", "Insert >>") or c["cls"] == "ListBox"]
    if parts:
        camera.shoot("word-list", *union(parts, 4))


def preferences(wine, camera):
    wine.keys("ctrl+alt+p")
    if not shown(wine, "TForm2"):
        return
    window = rect(wine, "TForm2")
    buttons = {c["text"]: c["rect"] for c in wine.controls("TForm2") if "v" in c["flags"]}
    for page in PREFERENCE_PAGES:
        wine.click_rect(buttons[page])
        camera.shoot("preferences-" + page.replace(" ", "-").lower(), *window, window_class="TForm2")
    wine.click_rect(buttons["Ok"], settle=False)
    wine.driver("gone", "TForm2")


def about_box(wine, camera):
    open_menu(wine, MENUS.index("Help"), "Up", "Return")
    if not shown(wine, "TForm3"):
        close_menus(wine)
        return
    camera.window("about", "TForm3", rest_on="Made by Orvane")
    wine.click_control("TForm3", "Ok", settle=False)
    wine.driver("gone", "TForm3")


def send_window(wine, camera):
    wine.keys("ctrl+alt+a")
    if not shown(wine, "TForm8"):
        return
    camera.window("send", "TForm8", rest_on="Status:")
    wine.driver("close", "TForm8")
    wine.driver("gone", "TForm8")


def image_viewer(wine, camera):
    # Tools: "Image Viewer..." stands just above "Preferences...", the last item.
    open_menu(wine, MENUS.index("Tools"), "Up", "Up", "Return")
    if not shown(wine, "TForm4"):
        close_menus(wine)
        return
    camera.window("image-viewer", "TForm4")
    wine.driver("close", "TForm4")
    wine.driver("gone", "TForm4")


def take(build, folder):
    """Takes the pictures into `folder`; returns (name, width, height) of each."""
    os.makedirs(folder, exist_ok=True)
    for old in os.listdir(folder):
        os.remove(os.path.join(folder, old))
    wine = Wine(build, serve=True)
    camera = Camera(wine, folder)
    sample = "C:\\Mibor8 manual\\Meeting notes.rtf"
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "sample.rtf"), "rb") as source:
        wine.write_file(sample, source.read())
    try:
        # A first start fills the store; the second shows a document, rich
        # text mode and a word list.
        wine.reg_delete_key()
        wine.start()
        wine.close_main_window()
        wine.reg_set("Mode", "rich")
        wine.reg_set("WordList", "".join(word + "\r\n" for word in WORDS))
        wine.start(sample)
        camera.window("main-window", "TForm1")
        menus(wine, camera)
        toolbars(wine, camera)
        side_panel(wine, camera)
        preferences(wine, camera)
        about_box(wine, camera)
        send_window(wine, camera)
        image_viewer(wine, camera)
        wine.close_main_window()
    finally:
        wine.stop()
    camera.write_manifest()
    return camera.taken


if __name__ == "__main__":
    print("%d pictures" % len(take(sys.argv[1], sys.argv[2])))
