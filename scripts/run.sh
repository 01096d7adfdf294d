#!/bin/sh
# Usage: run.sh BUILD_DIR   (inside wine-env.sh)
# Starts the editor. On a virtual display nobody can see it: wait until the main
# window is idle and the screen holds still, save build/screenshot.png and close
# the program.
set -u
build=$1
if [ "${MIBOR8_ON_VIRTUAL_DISPLAY:-0}" != 1 ]; then
    exec wine "$build/Mibor8.exe"
fi

# Polls `$@` every tenth of a second until it succeeds or SECONDS ($1) have passed.
within() {
    limit=$(( $(date +%s) + $1 )); shift
    until "$@"; do
        [ "$(date +%s)" -ge "$limit" ] && return 1
        sleep 0.1  # the poll interval
    done
}

wine "$build/Mibor8.exe" &
pid=$!
window() { win=$(xdotool search --onlyvisible --name '^Mibor8' 2>/dev/null | head -n 1); [ -n "$win" ]; }
if ! within 60 window; then
    echo "The main window did not appear." >&2
    exit 1
fi
# The test driver (built with the manual) waits until the window has handled every message.
driver="$build/tests/e2e_driver.exe"
[ -f "$driver" ] && wine "$driver" wait TForm1 60 >/dev/null 2>&1
# The last paint has reached the screen when two captures in a row are equal.
shot=$(mktemp -d)
settled() {
    import -window root "$shot/last.ppm" 2>/dev/null || return 1
    cmp -s "$shot/last.ppm" "$shot/before.ppm" && return 0
    mv "$shot/last.ppm" "$shot/before.ppm"
    return 1
}
within 30 settled || echo "The screen did not hold still; the last picture is kept." >&2
[ -f "$shot/last.ppm" ] || mv "$shot/before.ppm" "$shot/last.ppm"
convert "$shot/last.ppm" "$build/screenshot.png"
rm -rf "$shot"
echo "Screenshot written to $build/screenshot.png"
# There is no window manager: focus the window and type its Exit shortcut.
xdotool windowfocus --sync "$win" 2>/dev/null
xdotool key ctrl+alt+x
ended() { ! kill -0 $pid 2>/dev/null; }
within 60 ended || { echo "The editor did not close; ending it." >&2; wineserver -k; }
wait $pid 2>/dev/null
exit 0
