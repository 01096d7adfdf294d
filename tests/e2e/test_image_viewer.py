"""The image viewer of the built editor: opened from Tools, a red JPEG opened
through the picture-open dialog by typing its path, centred and stretched,
made the wallpaper with "Tile" unticked, and a damaged JPEG refused with the
red picture still shown; screenshots of the viewer and of the dialog."""
import os
import subprocess

from harness import check, run, wait_for

CONVERT = "/usr/bin/convert"
RED = "C:\\pictures\\red.jpg"
DAMAGED = "C:\\pictures\\damaged.jpg"
DESKTOP = r"HKCU\Control Panel\Desktop"


def make_pictures(wine):
    folder = os.path.dirname(wine.c_path(RED))
    os.makedirs(folder, exist_ok=True)
    ppm = os.path.join(folder, "red.ppm")
    subprocess.run([CONVERT, "-size", "64x48", "xc:#ff0000", ppm], check=True)
    subprocess.run(["cjpeg", "-outfile", wine.c_path(RED), ppm], check=True)
    os.remove(ppm)
    data = wine.read_file(RED)
    wine.write_file(DAMAGED, data[:len(data) // 2])


def screenshot(wine, window_class, name):
    rect = tuple(int(n) for n in wine.driver("rect", window_class).split())
    wine.screenshot(os.path.join(wine.build, "e2e-screenshots", "image-viewer-%s.png" % name), rect, window_class)


def is_red(colour):
    return colour[0] > 200 and colour[1] < 60 and colour[2] < 60


def picture_area(wine):
    return wine.control("TForm4", cls="TImage")["rect"]


def check_picture(wine, area, red=(), not_red=(), message="the picture"):
    """Waits until the viewer is idle, the screen holds still and the places `red` (x, y
    within `area`) are red and the places `not_red` are not."""
    width = area[2]

    def red_at(pixels, x, y):
        at = (y * width + x) * 3
        return is_red(pixels[at:at + 3])

    def shows(pixels):
        return all(red_at(pixels, x, y) for x, y in red) and not any(red_at(pixels, x, y) for x, y in not_red)

    check(wine.settled_screen(area, "TForm4", shows) is not None, message)


def wait_for_title(wine, window_class, title):
    check(wait_for(lambda: [window_class, title] in wine.windows()),
          "no %s window titled %r: %r" % (window_class, title, wine.windows()))
    wine.idle(window_class)


def open_picture(wine, path):
    wine.click_toolbar_button("Open Image...", "TForm4")
    wait_for_title(wine, "#32770", "Open a new picture")
    wine.type_text(path, title="^Open a new picture$")
    wine.keys("Return", title="^Open a new picture$", settle=False)
    check(wait_for(lambda: ["#32770", "Open a new picture"] not in wine.windows()), "the dialog stayed")
    wine.idle("TForm4")


def the_viewer_shows_centres_stretches_and_sets_the_wallpaper(wine):
    wine.reg_delete_key()
    make_pictures(wine)
    wine.start()
    # Tools, "Image Viewer...": the menu bar from the keyboard, then up from
    # the first item of Tools past "Preferences...".
    wine.keys("F10", "Right", "Right", "Down", "Up", "Up", "Return")
    wine.wait_window("TForm4")
    check(wine.title("TForm4") == "Image Viewer", "caption " + wine.title("TForm4"))
    hints = [b["hint"] for b in wine.toolbar_buttons("TForm4")]
    check(hints == ["Open Image...", "Close Image Viewer", "Copy", "Center", "Stretch", "To desktop..."],
          "toolbar %r" % hints)
    tile = wine.control("TForm4", text="\xa0\xa0\xa0\xa0Tile")
    check("c" in tile["flags"], "Tile is not ticked as built")
    screenshot(wine, "TForm4", "as-built")

    # The dialog with its preview: the folder typed, the file picked in the list.
    wine.click_toolbar_button("Open Image...", "TForm4")
    wait_for_title(wine, "#32770", "Open a new picture")
    wine.type_text("C:\\pictures\\", title="^Open a new picture$")
    wine.keys("Return", title="^Open a new picture$")
    dialog_texts = lambda: [c["text"] for c in wine.controls("#32770")]  # noqa: E731
    check(wait_for(lambda: "Picture:" in dialog_texts() and "(None)" in dialog_texts()),
          "preview pane before a choice: %r" % dialog_texts())
    files = wine.control("#32770", cls="SysListView32")["rect"]
    wine.click_at(files[0] + 30, files[1] + 8)  # the first entry: damaged.jpg
    wine.keys("Down", title="^Open a new picture$")  # red.jpg
    check(wait_for(lambda: " (64x48)" in dialog_texts()), "preview caption: %r" % dialog_texts())
    preview = [c for c in wine.controls("#32770") if c["text"] == "Preview" and c["cls"] == "Button"]
    check(preview and "e" in preview[0]["flags"], "the Preview button is not enabled")
    screenshot(wine, "#32770", "open-dialog")
    wine.keys("Escape", title="^Open a new picture$", settle=False)
    wine.driver("gone", "#32770")

    open_picture(wine, RED)
    area = picture_area(wine)
    w, h = area[2:]
    check_picture(wine, area, red=[(10, 10)], message="the picture is not shown at the top left")
    check_picture(wine, area, not_red=[(w - 5, h - 5)], message="the picture fills the area unstretched")

    wine.click_toolbar_button("Center", "TForm4")
    check_picture(wine, area, red=[(w // 2, h // 2)], not_red=[(3, 3)],
                  message="not red in the middle, or red at the top left corner, when centred")
    wine.click_toolbar_button("Stretch", "TForm4")
    corners = [(3, 3), (w - 4, 3), (3, h - 4), (w - 4, h - 4)]
    check_picture(wine, area, red=corners, message="the corners are not red when stretched")
    screenshot(wine, "TForm4", "stretched")

    # "To desktop..." with Tile unticked.
    wine.click_rect(tile["rect"])
    check("c" not in wine.control("TForm4", text="\xa0\xa0\xa0\xa0Tile")["flags"], "Tile still ticked")
    wine.click_toolbar_button("To desktop...", "TForm4")
    desktop = wine.reg_query(DESKTOP)
    check(desktop and desktop.get("Wallpaper") == RED, "Wallpaper is %r" % (desktop or {}).get("Wallpaper"))
    check(desktop.get("TileWallpaper") == "0", "TileWallpaper is %r" % desktop.get("TileWallpaper"))

    # A damaged JPEG: "Error!", and the red picture stays.
    open_picture(wine, DAMAGED)
    wait_for_title(wine, "#32770", "Mibor8")
    texts = wine.driver("children", "#32770")
    check("Error!" in texts, "box: " + texts)
    screenshot(wine, "#32770", "error")
    wine.driver("close", "#32770")
    wine.driver("gone", "#32770")
    check_picture(wine, area, red=[(3, 3)], message="the red picture is gone after the failed open")
    screenshot(wine, "TForm4", "after-error")

    # Closed and shown again from the tools toolbar: as it was left.
    wine.click_toolbar_button("Close Image Viewer", "TForm4", settle=False)
    wine.driver("gone", "TForm4")
    wine.click_toolbar_button("Image Viewer...")
    wine.wait_window("TForm4")
    check_picture(wine, area, red=[(w - 4, h - 4)], message="not shown stretched as it was left")
    wine.click_toolbar_button("Close Image Viewer", "TForm4", settle=False)
    wine.driver("gone", "TForm4")
    wine.close_main_window()


run([the_viewer_shows_centres_stretches_and_sets_the_wallpaper])
