"""Starting the built editor under Wine and looking at it from outside.

The tests run inside scripts/wine-env.sh, which sets WINEPREFIX and DISPLAY.
"""
import os
import subprocess
import sys
import tempfile
import time

SETTINGS_KEY = r"HKCU\Software\Orvane\Mibor8\Settings"


class Failure(Exception):
    pass


def run_command(args, timeout=120):
    """Runs a command and returns (exit code, output text).

    Output goes through a file, not a pipe: Wine's background processes
    inherit the handles and would keep a pipe open long after the command.
    """
    with tempfile.TemporaryFile() as out:
        code = subprocess.run(args, stdout=out, stderr=subprocess.STDOUT, timeout=timeout).returncode
        out.seek(0)
        return code, out.read().decode("cp1252", "replace").replace("\r", "")


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(condition, seconds=20):
    """Asks `condition` four times a second until it holds; False when it never did."""
    end = time.time() + seconds
    while time.time() < end:
        if condition():
            return True
        time.sleep(0.25)
    return False


class Wine:
    def __init__(self, build):
        self.build = os.path.abspath(build)
        self.exe = os.path.join(self.build, "Mibor8.exe")
        self.driver_exe = os.path.join(self.build, "tests", "e2e_driver.exe")
        self.prefix = os.environ["WINEPREFIX"]
        self.program = None

    # ---- files on the C: drive ----
    def c_path(self, windows_path):
        """The Linux path of a C:\\ path."""
        check(windows_path[:3].upper() == "C:\\", "not a C: path: " + windows_path)
        return os.path.join(self.prefix, "drive_c", *windows_path[3:].split("\\"))

    def write_file(self, windows_path, data):
        path = self.c_path(windows_path)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data if isinstance(data, bytes) else data.encode("cp1252"))

    def read_file(self, windows_path):
        with open(self.c_path(windows_path), "rb") as f:
            return f.read()

    # ---- the registry ----
    def reg_query(self, key=SETTINGS_KEY):
        """The string values of a key as a dict; None when the key is missing."""
        code, output = run_command(["wine", "reg", "query", key])
        if code != 0:
            return None
        values = {}
        for line in output.split("\n"):
            parts = line.strip().split("    ")
            if len(parts) >= 2 and parts[1] == "REG_SZ":
                values[parts[0]] = parts[2] if len(parts) > 2 else ""
        return values

    def reg_value(self, name, key=SETTINGS_KEY):
        """A string value's exact bytes as `wine reg query` prints them (line ends within it
        included); None when it is missing."""
        with tempfile.TemporaryFile() as out:
            code = subprocess.run(["wine", "reg", "query", key, "/v", name], stdout=out,
                                  stderr=subprocess.DEVNULL, timeout=120).returncode
            out.seek(0)
            output = out.read()
        marker = b"    " + name.encode("cp1252") + b"    REG_SZ    "
        if code != 0 or marker not in output:
            return None
        # The value is followed by the end of its line and an empty line.
        value = output.split(marker, 1)[1]
        check(value.endswith(b"\r\n\r\n"), "reg query printed %r" % value[-8:])
        return value[:-4]

    def reg_set(self, name, value, key=SETTINGS_KEY):
        if len(value) > 1000 or "\n" in value or "\r" in value:
            # Long or multi-line values go through a file (settings key only).
            check(key == SETTINGS_KEY, "long values go to the settings key only")
            self.write_file("C:\\mibor8-value.txt", value)
            self.driver("storefile", name, "C:\\mibor8-value.txt")
            return
        code, output = run_command(["wine", "reg", "add", key, "/v", name, "/d", value, "/f"])
        check(code == 0, "reg add: " + output)

    def reg_delete_key(self, key=r"HKCU\Software\Orvane"):
        run_command(["wine", "reg", "delete", key, "/f"])

    # ---- the program ----
    def start(self, *args, wait_for="TForm1", exe=None, cwd=None):
        """Starts the editor (or a copy of it at `exe`) in the folder `cwd` (a Linux path)."""
        self.program = subprocess.Popen(["wine", exe or self.exe, *args], stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL, cwd=cwd)
        self.wait_window(wait_for)
        time.sleep(0.5)

    def driver(self, *args, check_ok=True):
        code, output = run_command(["wine", self.driver_exe, *args])
        if check_ok and code != 0:
            raise Failure("driver %s: %s" % (" ".join(args), output.strip()))
        return output

    def wait_window(self, window_class, seconds=30):
        self.driver("wait", window_class, str(seconds))

    def windows(self):
        return [line.split("|", 1) for line in self.driver("windows").splitlines() if "|" in line]

    def title(self, window_class):
        return self.driver("title", window_class).strip()

    # ---- controls as the program reports them ----
    def controls(self, window_class):
        """The child windows: dicts with handle, cls, text, rect (screen x, y, w, h) and flags
        (e enabled, v visible, f focused, c checked)."""
        found = []
        for line in self.driver("controls", window_class).splitlines():
            parts = line.split("|")
            if len(parts) >= 5:
                found.append({"handle": parts[0], "cls": parts[1], "text": "|".join(parts[2:-2]),
                              "rect": tuple(int(n) for n in parts[-2].split()), "flags": parts[-1]})
        return found

    def control(self, window_class, text=None, cls=None):
        """The first visible child with that text and/or class, topmost first."""
        matches = [c for c in self.controls(window_class) if "v" in c["flags"] and
                   (text is None or c["text"] == text) and (cls is None or c["cls"] == cls)]
        check(matches, "no control %r of class %r in %s" % (text, cls, window_class))
        return min(matches, key=lambda c: (c["rect"][1], c["rect"][0]))

    def toolbar_buttons(self, window_class="TForm1"):
        """Toolbar buttons: dicts with hint, text, rect and flags (e enabled, v visible, d down)."""
        found = []
        for line in self.driver("buttons", window_class).splitlines():
            parts = line.split("|")
            if len(parts) >= 4:
                found.append({"hint": parts[0], "text": parts[1], "rect": tuple(int(n) for n in parts[2].split()),
                              "flags": parts[3]})
        return found

    def click_at(self, x, y, button=1):
        subprocess.run(["xdotool", "mousemove", "--sync", str(x), str(y), "click", str(button)], check=True)
        time.sleep(0.4)

    def click_rect(self, rect, button=1):
        x, y, w, h = rect
        self.click_at(x + w // 2, y + h // 2, button)

    def click_control(self, window_class, text=None, cls=None, button=1):
        """Clicks (real mouse) the middle of a child window found by its text and/or class."""
        self.click_rect(self.control(window_class, text, cls)["rect"], button)

    def click_toolbar_button(self, hint, window_class="TForm1"):
        """Clicks (real mouse) the toolbar button with that hint or caption."""
        x, y = (int(n) for n in self.driver("button", window_class, hint).split())
        self.click_at(x, y)

    def clipboard(self):
        return self.driver("clipboard")

    def set_clipboard(self, text):
        self.driver("setclipboard", text)

    def list_items(self, handle):
        """(entries, selected index or None) of a list box."""
        items, selected = [], None
        for i, line in enumerate(self.driver("items", handle).split("\n")[:-1]):
            if line.startswith("*"):
                selected, line = i, line[1:]
            items.append(line)
        return items, selected

    def list_item_rect(self, handle, index):
        """Screen place (x, y, w, h) of a list box's entry."""
        return tuple(int(n) for n in self.driver("itemrect", handle, str(index)).split())

    def double_click_rect(self, rect):
        x, y, w, h = rect
        subprocess.run(["xdotool", "mousemove", "--sync", str(x + w // 2), str(y + h // 2), "click", "--repeat", "2",
                        "--delay", "80", "1"], check=True)
        time.sleep(0.4)

    def text(self, handle):
        """A window's text, as the driver reads it."""
        return self.driver("text", handle)[:-1]

    def selection(self, handle):
        start, length = (int(n) for n in self.driver("selection", handle).split())
        return start, length

    def focus(self, window_class="TForm1"):
        handle, cls, text = self.driver("focus", window_class).rstrip("\n").split("|", 2)
        return {"handle": handle, "cls": cls, "text": text}

    def x_window(self, title_pattern):
        ids = run_command(["xdotool", "search", "--onlyvisible", "--name", title_pattern])[1].split()
        check(ids, "no X window named " + title_pattern)
        return ids[0]

    def keys(self, *keys, title="^Mibor8"):
        """Types keys into the window (a real X keyboard, as the user types)."""
        window = self.x_window(title)
        run_command(["xdotool", "windowfocus", "--sync", window])
        time.sleep(0.2)
        for key in keys:
            subprocess.run(["xdotool", "key", "--delay", "60", key], check=True)
            time.sleep(0.15)

    def type_text(self, text, title="^Mibor8"):
        window = self.x_window(title)
        run_command(["xdotool", "windowfocus", "--sync", window])
        time.sleep(0.2)
        subprocess.run(["xdotool", "type", "--delay", "40", text], check=True)
        time.sleep(0.3)

    def status(self, window_class="TForm8"):
        """The text of the label after the one captioned "Status:"."""
        texts = [line.split("|", 1)[1] for line in self.driver("children", window_class).splitlines() if "|" in line]
        return texts[texts.index("Status:") + 1]

    def wait_for_status(self, text, seconds, window_class="TForm8"):
        check(wait_for(lambda: self.status(window_class) == text, seconds),
              "status %r, not %r" % (self.status(window_class), text))

    def wait_exit(self, seconds=30):
        try:
            self.program.wait(seconds)
        except subprocess.TimeoutExpired:
            raise Failure("the editor did not end")
        self.program = None
        # The registry reaches the disk once the Wine server is idle.
        run_command(["wineserver", "-w"], timeout=60)

    def close_main_window(self):
        self.keys("ctrl+alt+x")
        self.wait_exit()

    def stop(self):
        if self.program and self.program.poll() is None:
            self.program.kill()
            run_command(["wineserver", "-k"])
        self.program = None


def run(tests):
    """Runs test functions taking a Wine object; exits non-zero on failure."""
    wine = Wine(sys.argv[1])
    failed = 0
    for test in tests:
        name = test.__name__
        try:
            test(wine)
            print("[ OK ] " + name)
        except Exception as error:  # report every kind of failure and go on
            failed += 1
            print("[FAIL] %s: %s" % (name, error))
        finally:
            wine.stop()
    print("%d of %d passed" % (len(tests) - failed, len(tests)))
    sys.exit(1 if failed else 0)
