#!/bin/sh
# Usage: run.sh BUILD_DIR   (inside wine-env.sh)
# Starts the editor. On a virtual display nobody can see it: wait until the main
# window is idle, save build/screenshot.png and close the program.
set -u
build=$1
if [ "${MIBOR8_ON_VIRTUAL_DISPLAY:-0}" != 1 ]; then
    exec wine "$build/Mibor8.exe"
fi

wine "$build/Mibor8.exe" &
pid=$!
win=
i=0
while [ -z "$win" ] && [ $i -lt 200 ]; do
    sleep 0.1
    win=$(xdotool search --onlyvisible --name '^Mibor8' 2>/dev/null | head -n 1)
    i=$((i + 1))
done
if [ -z "$win" ]; then
    echo "The main window did not appear." >&2
    exit 1
fi
sleep 2
import -window root "$build/screenshot.png"
echo "Screenshot written to $build/screenshot.png"
# There is no window manager: focus the window and type its Exit shortcut.
xdotool windowfocus --sync "$win" 2>/dev/null
xdotool key ctrl+alt+x
i=0
while kill -0 $pid 2>/dev/null && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
kill -0 $pid 2>/dev/null && { echo "The editor did not close; ending it." >&2; wineserver -k; }
wait $pid 2>/dev/null
exit 0
