"""The image viewer of the built editor: opened from Tools, a red JPEG opened
through the picture-open dialog by typing its path, centred and stretched,
made the wallpaper with "Tile" unticked, and a damaged JPEG refused with the
red picture still shown; screenshots of the viewer and of the dialog."""
import os
import re
import subprocess
import time

from harness import check, run, run_command

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
    left, top, width, height = (int(n) for n in wine.driver("rect", window_class).split())
    path = os.path.join(wine.build, "e2e-screenshots", "image-viewer-%s.png" % name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    code, output = run_command(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (width, height, left, top),
                                path])
    check(code == 0, "screenshot: " + output)
    return path


def pixel(x, y):
    """The colour of a screen pixel as (red, green, blue)."""
    code, output = run_command(["import", "-window", "root", "-crop", "1x1+%d+%d" % (x, y), "-depth", "8",
                                "txt:-"])
    check(code == 0, "pixel: " + output)
    found = re.search(r"\s#([0-9A-Fa-f]{6})", output)
    check(found, "pixel: " + output)
    return tuple(int(found.group(1)[i:i + 2], 16) for i in (0, 2, 4))


def is_red(colour):
    return colour[0] > 200 and colour[1] < 60 and colour[2] < 60


def picture_area(wine):
    return wine.control("TForm4", cls="TImage")["rect"]


def wait_for_title(wine, window_class, title, seconds=15):
    end = time.time() + seconds
    while time.time() < end:
        if [window_class, title] in wine.windows():
            return
        time.sleep(0.2)
    raise AssertionError("no %s window titled %r: %r" % (window_class, title, wine.windows()))


def open_picture(wine, path):
    wine.click_toolbar_button("Open Image...", "TForm4")
    wait_for_title(wine, "#32770", "Open a new picture")
    time.sleep(0.5)
    wine.type_text(path, title="^Open a new picture$")
    wine.keys("Return", title="^Open a new picture$")
    time.sleep(1)


def the_viewer_shows_centres_stretches_and_sets_the_wallpaper(wine):
    wine.reg_delete_key()
    make_pictures(wine)
    wine.start()
    # Tools, "Image Viewer...": the menu bar from the keyboard, then up from
    # the first item of Tools past "Preferences...".
    wine.keys("F10", "Right", "Right", "Down", "Up", "Up", "Return")
    wine.wait_window("TForm4", 10)
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
    time.sleep(0.5)
    wine.type_text("C:\\pictures\\", title="^Open a new picture$")
    wine.keys("Return", title="^Open a new picture$")
    time.sleep(1)
    texts = [c["text"] for c in wine.controls("#32770")]
    check("Picture:" in texts and "(None)" in texts, "preview pane before a choice: %r" % texts)
    files = wine.control("#32770", cls="SysListView32")["rect"]
    wine.click_at(files[0] + 30, files[1] + 8)  # the first entry: damaged.jpg
    wine.keys("Down", title="^Open a new picture$")  # red.jpg
    time.sleep(0.8)
    texts = [c["text"] for c in wine.controls("#32770")]
    check(" (64x48)" in texts, "preview caption: %r" % texts)
    preview = [c for c in wine.controls("#32770") if c["text"] == "Preview" and c["cls"] == "Button"]
    check(preview and "e" in preview[0]["flags"], "the Preview button is not enabled")
    screenshot(wine, "#32770", "open-dialog")
    wine.keys("Escape", title="^Open a new picture$")
    wine.driver("gone", "#32770", "10")

    open_picture(wine, RED)
    x, y, w, h = picture_area(wine)
    check(is_red(pixel(x + 10, y + 10)), "the picture is not shown at the top left")
    check(not is_red(pixel(x + w - 5, y + h - 5)), "the picture fills the area unstretched")

    wine.click_toolbar_button("Center", "TForm4")
    check(is_red(pixel(x + w // 2, y + h // 2)), "not red in the middle when centred")
    check(not is_red(pixel(x + 3, y + 3)), "the top left corner is red when centred")
    wine.click_toolbar_button("Stretch", "TForm4")
    for cx, cy in ((x + 3, y + 3), (x + w - 4, y + 3), (x + 3, y + h - 4), (x + w - 4, y + h - 4)):
        check(is_red(pixel(cx, cy)), "corner %d,%d is not red when stretched" % (cx, cy))
    screenshot(wine, "TForm4", "stretched")

    # "To desktop..." with Tile unticked.
    wine.click_rect(tile["rect"])
    check("c" not in wine.control("TForm4", text="\xa0\xa0\xa0\xa0Tile")["flags"], "Tile still ticked")
    wine.click_toolbar_button("To desktop...", "TForm4")
    time.sleep(0.5)
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
    wine.driver("gone", "#32770", "10")
    time.sleep(0.5)
    check(is_red(pixel(x + 3, y + 3)), "the red picture is gone after the failed open")
    screenshot(wine, "TForm4", "after-error")

    # Closed and shown again from the tools toolbar: as it was left.
    wine.click_toolbar_button("Close Image Viewer", "TForm4")
    wine.driver("gone", "TForm4", "10")
    wine.click_toolbar_button("Image Viewer...")
    wine.wait_window("TForm4", 10)
    time.sleep(0.5)
    check(is_red(pixel(x + w - 4, y + h - 4)), "not shown stretched as it was left")
    wine.click_toolbar_button("Close Image Viewer", "TForm4")
    wine.driver("gone", "TForm4", "10")
    wine.close_main_window()


run([the_viewer_shows_centres_stretches_and_sets_the_wallpaper])
