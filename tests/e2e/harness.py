"""Starting the built editor under Wine and looking at it from outside.

The tests run inside scripts/wine-env.sh, which sets WINEPREFIX and DISPLAY.

Nothing here waits a fixed time, so a busy machine only makes the tests slower:
each key, text and click returns once the program has handled it (xdotool()),
a window is waited for until it shows and is idle (wait_window()), a picture
until the screen holds still (settled_screen()), anything else with wait_for()
and a deadline. A check that something does not happen looks once the program
has handled what could have made it happen.

Texts go to and come from the driver in UTF-8 (it speaks UTF-16 to the windows).
Text outside ASCII is typed as key strokes too (type_text(); see XKeyboard).
"""
import ctypes
import ctypes.util
import os
import re
import select
import subprocess
import sys
import tempfile
import time

SETTINGS_KEY = r"HKCU\Software\Orvane\Mibor8\Settings"
# Pressed after a test's input: once the program has read it (the driver's
# "typed"), it has read the input before it too. Alone it does nothing.
MARKER = "Shift_R"


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
        return code, out.read().decode("utf-8", "replace").replace("\r", "")


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(condition, seconds=30):
    """Asks `condition` until it holds; False when it never did within `seconds`."""
    end = time.time() + seconds
    while not condition():
        if time.time() > end:
            return False
        time.sleep(0.1)  # the poll interval
    return True


class Wine:
    def __init__(self, build, serve=False):
        """With `serve`, the driver runs once and takes its commands through a pipe (see
        driver()); then wait_all_ended() is the way to wait for the Wine server."""
        self.build = os.path.abspath(build)
        self.exe = os.path.join(self.build, "Mibor8.exe")
        self.driver_exe = os.path.join(self.build, "tests", "e2e_driver.exe")
        self.prefix = os.environ["WINEPREFIX"]
        self.program = None
        self.serve = serve
        self.server = None

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
        """The string values of a key as a dict; None when the key is missing. (`wine reg
        query` prints the OEM code page: outside ASCII mostly "?".)"""
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
        marker = b"    " + name.encode("utf-8") + b"    REG_SZ    "
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
            self.write_file("C:\\mibor8-value.txt", value.encode("utf-8"))
            self.driver("storefile", name, "C:\\mibor8-value.txt")
            return
        code, output = run_command(["wine", "reg", "add", key, "/v", name, "/d", value, "/f"])
        check(code == 0, "reg add: " + output)

    def reg_delete_key(self, key=r"HKCU\Software\Orvane"):
        run_command(["wine", "reg", "delete", key, "/f"])

    # ---- the program ----
    def start(self, *args, wait_for="TForm1", exe=None, cwd=None):
        """Starts the editor (or a copy of it at `exe`) in the folder `cwd` (a Linux path) and
        waits until its first window of class `wait_for` shows and is idle."""
        self.program = subprocess.Popen(["wine", exe or self.exe, *args], stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL, cwd=cwd)
        self.wait_window(wait_for)

    def driver(self, *args, check_ok=True):
        if self.serve and not any("\t" in arg or "\n" in arg for arg in args):
            code, output = self.served(args)
        else:
            code, output = run_command(["wine", self.driver_exe, *args])
        if check_ok and code != 0:
            raise Failure("driver %s: %s" % (" ".join(args), output.strip()))
        return output

    def served(self, args, timeout=120):
        """(exit code, output) of a command of the driver that keeps running ("serve")."""
        if not self.server or self.server.poll() is not None:
            self.server = subprocess.Popen(["wine", self.driver_exe, "serve"], stdin=subprocess.PIPE,
                                           stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        self.server.stdin.write("\t".join(args).encode("utf-8") + b"\n")
        self.server.stdin.flush()
        answer, end = b"", time.time() + timeout
        while not re.search(rb"\x1e-?\d+\x1e\r?\n$", answer):
            ready = select.select([self.server.stdout], [], [], max(end - time.time(), 0))[0]
            data = os.read(self.server.stdout.fileno(), 65536) if ready else b""
            if not data:
                self.end_driver()
                raise Failure("driver %s: no answer" % " ".join(args))
            answer += data
        text, code = re.match(rb"(.*)\x1e(-?\d+)\x1e\r?\n$", answer, re.S).groups()
        return int(code), text.decode("utf-8", "replace").replace("\r", "")

    def end_driver(self):
        if self.server:
            try:
                self.server.stdin.close()  # the driver ends at the end of its input
            except BrokenPipeError:
                pass
            try:
                self.server.wait(30)
            except subprocess.TimeoutExpired:
                self.server.kill()
                self.server.wait()
            self.server.stdout.close()
        self.server = None

    def wait_all_ended(self):
        """Waits until every program of the prefix has ended (the driver is ended first) and
        the Wine server with them, which writes the registry to the disk as it goes."""
        self.end_driver()
        run_command(["wineserver", "-w"], timeout=120)

    def wait_window(self, window_class, seconds=30):
        """Waits until a window of that class shows and has handled everything sent to it."""
        self.driver("wait", window_class, str(seconds))

    def idle(self, window_class, seconds=30):
        """Waits until the window's thread has handled every message and input before."""
        self.driver("idle", window_class, str(seconds))

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

    # ---- input, as the user gives it: the X keyboard and mouse ----
    def xdotool(self, *args, settle=True):
        """Runs xdotool with `args`. With `settle` it then presses MARKER and waits until the
        program has read that key and handled everything before it. Input that closes the
        window holding the keyboard goes without (the key might reach no window): the caller
        waits for the window to go. (No "mousemove --sync": it waits 15 s where the pointer
        is already; the X server handles the requests in their order anyway.)"""
        typing = args[0] == "type"
        marker = ["key", MARKER] if settle and not typing else []
        subprocess.run(["xdotool", *args, *marker], check=True, timeout=120)
        if settle:
            if typing:  # "type" takes every word after it as text
                subprocess.run(["xdotool", "key", MARKER], check=True, timeout=120)
            self.driver("typed")

    def click_at(self, x, y, button=1, settle=True):
        self.xdotool("mousemove", str(x), str(y), "click", str(button), settle=settle)

    def click_rect(self, rect, button=1, settle=True):
        x, y, w, h = rect
        self.click_at(x + w // 2, y + h // 2, button, settle)

    def click_control(self, window_class, text=None, cls=None, button=1, settle=True):
        """Clicks (real mouse) the middle of a child window found by its text and/or class."""
        self.click_rect(self.control(window_class, text, cls)["rect"], button, settle)

    def click_toolbar_button(self, hint, window_class="TForm1", settle=True):
        """Clicks (real mouse) the toolbar button with that hint or caption."""
        x, y = (int(n) for n in self.driver("button", window_class, hint).split())
        self.click_at(x, y, settle=settle)

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
        self.xdotool("mousemove", str(x + w // 2), str(y + h // 2), "click", "--repeat", "2", "--delay", "80",
                     "1")

    def text(self, handle):
        """A window's text, as the driver reads it."""
        return self.driver("text", handle)[:-1]

    def selection(self, handle):
        start, length = (int(n) for n in self.driver("selection", handle).split())
        return start, length

    def focus(self, window_class="TForm1"):
        handle, cls, text = self.driver("focus", window_class).rstrip("\n").split("|", 2)
        return {"handle": handle, "cls": cls, "text": text}

    def tab_to(self, window_class, text, title, presses=40):
        """Presses Tab (the real keyboard) until the focused control of the window has that text."""
        for _ in range(presses):
            if self.focus(window_class)["text"] == text:
                return
            self.keys("Tab", title=title)
        raise Failure("%d presses of Tab do not reach %r in %s" % (presses, text, window_class))

    def x_window(self, title_pattern, seconds=30):
        """The X window of the visible window whose title matches."""
        found = []

        def search():
            found[:] = run_command(["xdotool", "search", "--onlyvisible", "--name", title_pattern])[1].split()
            return found

        check(wait_for(search, seconds), "no X window named " + title_pattern)
        return found[0]

    def keys(self, *keys, title="^Mibor8", settle=True):
        """Types keys into the window (a real X keyboard, as the user types)."""
        self.xdotool("windowfocus", "--sync", self.x_window(title), "key", "--delay", "60", *keys, settle=settle)

    def type_text(self, text, title="^Mibor8"):
        """Types the text into the window as key strokes: ASCII through xdotool, any other
        character one at a time on a key of its own (XKeyboard), each read before the next."""
        subprocess.run(["xdotool", "windowfocus", "--sync", self.x_window(title)], check=True, timeout=120)
        if text.isascii():
            self.xdotool("type", "--delay", "40", text)
            return
        # A fresh Wine program drops its first key when that key is outside the
        # keyboard's layout (Wine's notepad too): a key it ignores goes first.
        self.xdotool("key", MARKER)
        with XKeyboard() as keyboard:
            for part in re.findall(r"[\x00-\x7f]+|[^\x00-\x7f]", text):
                if part.isascii():
                    self.xdotool("type", "--delay", "40", part)
                else:
                    keyboard.press(part, then=MARKER)
                    self.driver("typed")

    def drop(self, window_class, *files):
        """Drops the files (Windows paths) on the window, as a drag from the shell ends."""
        self.driver("drop", window_class, *files)

    # ---- the screen ----
    def screen(self, rect):
        """The screen's pixels in `rect` (x, y, w, h), as 8-bit RGB."""
        x, y, w, h = rect
        result = subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y), "-depth", "8",
                                 "rgb:-"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=120)
        check(result.returncode == 0 and len(result.stdout) == w * h * 3, "no screen capture of %r" % (rect,))
        return result.stdout

    def moving_parts(self, window_class):
        """Screen places that change by themselves: the caret and the clock's fields."""
        caret = self.driver("caret", window_class).split()
        parts = [tuple(int(n) for n in caret)] if caret else []
        return parts + [c["rect"] for c in self.controls(window_class) if c["cls"] == "SysDateTimePick32"]

    def settled_screen(self, rect, window_class, shows=lambda pixels: True, seconds=30):
        """The pixels of `rect` once the window is idle, a capture equals the one before it (the
        moving parts left out) and `shows(pixels)` holds; None when that does not come within
        `seconds`."""
        x, y, w, h = rect
        moving = self.moving_parts(window_class)

        def still_part(pixels):
            part = bytearray(pixels)
            for mx, my, mw, mh in moving:
                left, right = max(mx - x, 0), min(mx + mw - x, w)
                for row in range(max(my - y, 0), min(my + mh - y, h)) if left < right else ():
                    part[(row * w + left) * 3:(row * w + right) * 3] = bytes((right - left) * 3)
            return part

        end = time.time() + seconds
        before = None
        while time.time() < end:
            self.idle(window_class)
            pixels = self.screen(rect)
            now = still_part(pixels)
            if now == before and shows(pixels):
                return pixels
            before = now
        return None

    def screenshot(self, path, rect, window_class, *options):
        """Saves the settled screen in `rect` as a picture, ImageMagick's `options` applied."""
        pixels = self.settled_screen(rect, window_class)
        check(pixels is not None, "the screen did not settle for " + path)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        result = subprocess.run(["convert", "-size", "%dx%d" % tuple(rect[2:]), "-depth", "8", "rgb:-", *options, path],
                                input=pixels, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=120)
        check(result.returncode == 0, "screenshot: " + result.stdout.decode(errors="replace"))

    def status(self, window_class="TForm8"):
        """The text of the label after the one captioned "Status:"."""
        texts = [line.split("|", 1)[1] for line in self.driver("children", window_class).splitlines() if "|" in line]
        return texts[texts.index("Status:") + 1]

    def wait_for_status(self, text, seconds, window_class="TForm8"):
        check(wait_for(lambda: self.status(window_class) == text, seconds),
              "status %r, not %r" % (self.status(window_class), text))

    def wait_exit(self, seconds=60):
        try:
            self.program.wait(seconds)
        except subprocess.TimeoutExpired:
            raise Failure("the editor did not end; windows shown: %r" % self.windows())
        self.program = None
        self.wait_all_ended()

    def close_main_window(self):
        # Once a box that was shown has gone, the main window is enabled again
        # only when its thread is back from the box's loop: a key before that
        # reaches a disabled window, which drops it.
        self.idle("TForm1")
        self.keys("ctrl+alt+x", settle=False)
        self.wait_exit()

    def stop(self):
        if self.program and self.program.poll() is None:
            self.program.kill()
            run_command(["wineserver", "-k"])
        self.program = None
        self.end_driver()


class XKeyboard:
    """Key strokes of characters outside the keyboard's layout, through the X server's
    test extension (as xdotool makes its key strokes).

    A character gets the lowest key code, as xdotool gives such characters (Wine looks a
    key's character up there: on other codes it finds none). xdotool changes the key back
    as soon as it has pressed it, and Wine looks the character up only when the program
    takes the key, later: a busy program would get the wrong one. Here the key keeps its
    character until the program has read the key pressed after it (the caller waits for
    that), and gets its old meaning back at the end."""

    def __init__(self):
        self.x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
        self.xtst = ctypes.CDLL(ctypes.util.find_library("Xtst"))
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XGetKeyboardMapping.restype = ctypes.POINTER(ctypes.c_ulong)
        self.x11.XGetKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_ubyte, ctypes.c_int,
                                                 ctypes.POINTER(ctypes.c_int)]
        self.x11.XChangeKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int,
                                                    ctypes.POINTER(ctypes.c_ulong), ctypes.c_int]
        self.x11.XDisplayKeycodes.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int),
                                              ctypes.POINTER(ctypes.c_int)]
        self.x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.x11.XStringToKeysym.restype = ctypes.c_ulong
        self.x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
        for name in ("XSync", "XCloseDisplay", "XFree"):
            getattr(self.x11, name).argtypes = [ctypes.c_void_p] + ([ctypes.c_int] if name == "XSync" else [])
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.display = self.x11.XOpenDisplay(None)
        check(self.display, "cannot open the X display")
        low, high = ctypes.c_int(), ctypes.c_int()
        self.x11.XDisplayKeycodes(self.display, ctypes.byref(low), ctypes.byref(high))
        self.code = low.value
        per = ctypes.c_int()
        old = self.x11.XGetKeyboardMapping(self.display, self.code, 1, ctypes.byref(per))
        self.width = per.value
        self.old = [old[i] for i in range(self.width)]
        self.x11.XFree(old)

    def __enter__(self):
        return self

    def __exit__(self, *error):
        self.map(self.old)
        self.x11.XCloseDisplay(self.display)

    def map(self, keysyms):
        keysyms = (ctypes.c_ulong * self.width)(*(list(keysyms) + [0] * (self.width - len(keysyms))))
        self.x11.XChangeKeyboardMapping(self.display, self.code, self.width, keysyms, 1)
        self.x11.XSync(self.display, 0)

    def tap(self, code):
        self.xtst.XTestFakeKeyEvent(self.display, code, 1, 0)
        self.xtst.XTestFakeKeyEvent(self.display, code, 0, 0)

    def press(self, char, then):
        """Presses the character's key (the same with or without Shift), then the key `then`."""
        keysym = ord(char) if ord(char) < 0x100 else 0x1000000 | ord(char)  # X's keysyms of Unicode
        self.map([keysym, keysym])
        self.tap(self.code)
        self.tap(self.x11.XKeysymToKeycode(self.display, self.x11.XStringToKeysym(then.encode())))
        self.x11.XSync(self.display, 0)


def run(tests):
    """Runs test functions taking a Wine object; exits non-zero on failure."""
    wine = Wine(sys.argv[1], serve=True)
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
