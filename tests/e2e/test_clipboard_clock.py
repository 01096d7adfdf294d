"""The clipboard commands and the clock of the built editor: each acts on the
field that has the focus, undo on the editor, the context menu on the field it
was opened on; the clock inserts the time and the date in the regional formats
set in the test's prefix, and stops and starts."""
import re
import time

from harness import check, run, run_command, wait_for

INTERNATIONAL = r"HKCU\Control Panel\International"
FORMATS = {"sTimeFormat": "HH:mm:ss", "sShortDate": "dd.MM.yyyy"}
LINE = "Mibor8 copies this line of sixty-odd characters into the find bar"


def field_left_of(wine, caption):
    """The one-line field just left of the toolbar button with that caption."""
    button = [b for b in wine.toolbar_buttons() if caption in (b["text"], b["hint"])]
    check(button, "no button " + caption)
    bx, by, bw, bh = button[0]["rect"]
    fields = [c for c in wine.controls("TForm1") if c["cls"] == "Edit" and "v" in c["flags"] and
              c["rect"][0] + c["rect"][2] <= bx and c["rect"][1] <= by + bh // 2 <= c["rect"][1] + c["rect"][3]]
    check(fields, "no field left of " + caption)
    return max(fields, key=lambda c: c["rect"][0])


def editor(wine):
    editors = [c for c in wine.controls("TForm1") if c["cls"].upper() == "RICHEDIT" and "v" in c["flags"]]
    check(editors, "no editor")
    return max(editors, key=lambda c: c["rect"][2] * c["rect"][3])


def text(wine, control):
    return wine.driver("text", control["handle"])[:-1]


def press(wine, *keys):
    """Keys to whatever has the keyboard now (an open menu included)."""
    wine.xdotool("key", "--delay", "60", *keys)


def clear(wine, field):
    wine.click_rect(field["rect"])
    wine.keys("ctrl+a", "Delete")


def seconds_after(clock):
    """Seconds from the time of day `clock` ("HH:MM:SS") to now, across midnight too."""
    hours, minutes, seconds = (int(n) for n in clock.split(":"))
    now = time.localtime()
    return (now.tm_hour * 3600 + now.tm_min * 60 + now.tm_sec - (hours * 3600 + minutes * 60 + seconds)) % 86400


def set_formats(wine):
    """Sets the regional formats; returns the values to put back."""
    before = wine.reg_query(INTERNATIONAL) or {}
    for name, value in FORMATS.items():
        wine.reg_set(name, value, key=INTERNATIONAL)
    return {name: before.get(name) for name in FORMATS}


def restore_formats(wine, before):
    for name, value in before.items():
        if value is None:
            run_command(["wine", "reg", "delete", INTERNATIONAL, "/v", name, "/f"])
        else:
            wine.reg_set(name, value, key=INTERNATIONAL)


def clipboard_commands_act_on_the_focused_field(wine):
    wine.reg_delete_key()
    wine.start()
    memo, find = editor(wine), field_left_of(wine, " Find")
    replace = field_left_of(wine, " Replace")
    wine.type_text(LINE)
    wine.keys("ctrl+a", "ctrl+c")
    check(wait_for(lambda: wine.clipboard().rstrip("\r\n") == LINE), "clipboard %r" % wine.clipboard())

    # The find field takes 50 characters at most.
    wine.click_rect(find["rect"])
    wine.keys("ctrl+v")
    check(text(wine, find) == LINE[:50], "find field %r" % text(wine, find))

    # Copy all copies the whole field and leaves its selection.
    wine.keys("Home", "shift+Right", "shift+Right", "shift+Right")
    wine.set_clipboard("before")
    wine.keys("ctrl+alt+c")
    check(wait_for(lambda: wine.clipboard() == LINE[:50]), "Copy all gave %r" % wine.clipboard())
    check(wine.selection(find["handle"]) == (0, 3), "selection %r" % (wine.selection(find["handle"]),))

    # "10 X Paste" of "ab" gives twenty characters.
    clear(wine, find)
    wine.set_clipboard("ab")
    wine.keys("ctrl+t")
    check(text(wine, find) == "ab" * 10, "after Ctrl+T %r" % text(wine, find))

    # Undo with the focus in the find field undoes the editor's last typing.
    wine.click_rect(memo["rect"])
    wine.keys("ctrl+End")
    wine.type_text("X")
    check(text(wine, memo).rstrip("\r\n") == LINE + "X", "editor %r" % text(wine, memo))
    wine.click_rect(find["rect"])
    wine.keys("ctrl+z")
    check(wait_for(lambda: text(wine, memo).rstrip("\r\n") == LINE), "after undo %r" % text(wine, memo))
    check(text(wine, find) == "ab" * 10, "undo changed the find field: %r" % text(wine, find))

    # The replace field's context menu pastes into the replace field, while
    # the find field had the focus.
    wine.set_clipboard("replacement")
    wine.click_rect(replace["rect"], button=3)
    wine.wait_window("#32768")
    press(wine, "Down", "Down", "Down", "Down", "Return")
    check(wait_for(lambda: text(wine, replace) == "replacement"), "replace field %r" % text(wine, replace))
    check(text(wine, find) == "ab" * 10, "find field %r" % text(wine, find))
    check(wine.focus()["handle"] == replace["handle"], "focus %r" % wine.focus())
    wine.close_main_window()


def the_clock_inserts_the_time_and_the_date_in_the_regional_formats(wine):
    wine.reg_delete_key()
    before = set_formats(wine)
    try:
        wine.start()
        memo, find = editor(wine), field_left_of(wine, " Find")

        # "Insert time" with the caret in the editor: the time of now.
        wine.click_rect(memo["rect"])
        wine.click_toolbar_button("Insert time")
        inserted = text(wine, memo).rstrip("\r\n")
        check(re.fullmatch(r"\d\d:\d\d:\d\d", inserted), "inserted %r" % inserted)
        hours, minutes, seconds = (int(n) for n in inserted.split(":"))
        now = time.localtime()
        apart = abs(hours * 3600 + minutes * 60 + seconds - (now.tm_hour * 3600 + now.tm_min * 60 + now.tm_sec))
        check(min(apart, 86400 - apart) <= 3, "inserted %s at %s" % (inserted, time.strftime("%H:%M:%S", now)))

        # "Insert date" with the focus in the find field: today, in the find field.
        wine.click_rect(find["rect"])
        wine.click_toolbar_button("Insert date")
        check(text(wine, find) == time.strftime("%d.%m.%Y"), "find field %r" % text(wine, find))
        check(text(wine, memo).rstrip("\r\n") == inserted, "the editor changed: %r" % text(wine, memo))
        check(wine.focus()["handle"] == find["handle"], "the button took the focus: %r" % wine.focus())

        def insert_time():
            clear(wine, find)
            wine.click_toolbar_button("Insert time")
            return text(wine, find)

        # Stopped, the clock inserts the same time twice, the second time once the local
        # time is two seconds on (a running clock follows it twice a second); started, it
        # ticks on.
        wine.click_toolbar_button("Start / Stop ticking")
        first = insert_time()
        check(wait_for(lambda: seconds_after(first) >= 2, 10), "the local time stays at " + first)
        check(insert_time() == first, "the stopped clock moved on from " + first)
        wine.click_toolbar_button("Start / Stop ticking")
        check(wait_for(lambda: insert_time() != first), "the started clock stayed at " + first)
        wine.close_main_window()
    finally:
        wine.stop()
        restore_formats(wine, before)


run([clipboard_commands_act_on_the_focused_field, the_clock_inserts_the_time_and_the_date_in_the_regional_formats])
