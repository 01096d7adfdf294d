#!/bin/sh
# Start-up benchmarks of the editor beside Wine's own wordpad and notepad:
# to an idle window, and with long documents on the command line.
here=$(dirname "$0")
/usr/bin/python3 "$here/bench_startup.py" "$1" || exit 1
exec /usr/bin/python3 "$here/bench_documents.py" "$1"
