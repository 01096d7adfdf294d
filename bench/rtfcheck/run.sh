#!/bin/sh
# Usage: run.sh BUILD_DIR   (inside scripts/wine-env.sh, called by bench/run.sh)
exec /usr/bin/python3 "$(dirname "$0")/bench.py" "$@"
