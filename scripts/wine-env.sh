#!/bin/sh
# Usage: wine-env.sh BUILD_DIR COMMAND...
# Runs COMMAND with a private Wine prefix under BUILD_DIR and, where there is no
# X display (or MIBOR8_VIRTUAL_DISPLAY=1), a virtual one. The prefix is
# BUILD_DIR/wineprefix, made fresh for every run from a template created once;
# with MIBOR8_KEEP_PREFIX=1 it is BUILD_DIR/wineprefix-run and kept between runs;
# with MIBOR8_PREFIX_NAME=NAME it is BUILD_DIR/prefixes/NAME, removed afterwards
# unless COMMAND failed, so that runs of different names can go side by side.
# Every Wine process of the prefix is ended afterwards.
set -u
mkdir -p "$1" && build=$(cd "$1" && pwd) || exit 1; shift

export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win32

template="$build/wine-template"
# Runs started together make the template once: the others wait for it.
exec 9>"$build/wine-template.lock"
flock 9
if [ ! -f "$template/.ready" ]; then
    rm -rf "$template"
    WINEPREFIX="$template" wineboot -i >/dev/null 2>&1
    # Wine draws the window frames itself, as Windows does: a virtual display
    # has no window manager.
    WINEPREFIX="$template" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    WINEPREFIX="$template" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    WINEPREFIX="$template" wineserver -w
    touch "$template/.ready"
fi
# Wine draws the caption buttons with the Marlett font, which it ships in its
# own fonts folder but, installed as Debian installs it, does not load from
# there: without it they show as the letters "0 1 r". The prefix gets Wine's
# own copy.
if [ ! -f "$template/drive_c/windows/Fonts/marlett.ttf" ]; then
    for folder in /usr/share/wine/fonts /usr/lib/wine/fonts /usr/lib/i386-linux-gnu/wine/fonts; do
        if [ -f "$folder/marlett.ttf" ]; then
            mkdir -p "$template/drive_c/windows/Fonts"
            cp "$folder/marlett.ttf" "$template/drive_c/windows/Fonts/"
            break
        fi
    done
fi
flock -u 9
exec 9>&-
named="${MIBOR8_PREFIX_NAME:-}"
if [ -n "$named" ]; then
    export WINEPREFIX="$build/prefixes/$named"
    wineserver -k 2>/dev/null
    rm -rf "$WINEPREFIX"
    mkdir -p "$build/prefixes"
    cp -a "$template" "$WINEPREFIX"
elif [ "${MIBOR8_KEEP_PREFIX:-0}" = 1 ]; then
    export WINEPREFIX="$build/wineprefix-run"
    [ -d "$WINEPREFIX" ] || cp -a "$template" "$WINEPREFIX"
else
    export WINEPREFIX="$build/wineprefix"
    wineserver -k 2>/dev/null
    rm -rf "$WINEPREFIX"
    cp -a "$template" "$WINEPREFIX"
fi

xvfb_pid=
if [ -z "${DISPLAY:-}" ] || [ "${MIBOR8_VIRTUAL_DISPLAY:-0}" = 1 ]; then
    # The server picks a free display itself and writes its number: two runs
    # started at the same moment never share one.
    number_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
    xvfb_pid=$!
    i=0
    while [ ! -s "$number_file" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
    n=$(tr -dc 0-9 < "$number_file")
    rm -f "$number_file"
    export DISPLAY=:$n
    export MIBOR8_ON_VIRTUAL_DISPLAY=1
    while [ ! -e /tmp/.X11-unix/X$n ] && [ $i -lt 200 ]; do sleep 0.1; i=$((i + 1)); done
fi

"$@"
rc=$?

wineserver -k 2>/dev/null
[ -n "$named" ] && [ $rc -eq 0 ] && rm -rf "$WINEPREFIX"
[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
exit $rc
