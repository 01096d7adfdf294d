#!/bin/sh
# Usage: run.sh BUILD_DIR   (inside scripts/wine-env.sh, called by bench/run.sh)
exec wine "$1/tests/formatting_bench.exe"
