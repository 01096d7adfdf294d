#!/bin/sh
# Start-up benchmarks of the editor beside Wine's own wordpad and notepad.
exec /usr/bin/python3 "$(dirname "$0")/bench_startup.py" "$1"
