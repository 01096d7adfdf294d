#!/bin/sh
# Usage: wine-test.sh BUILD_DIR NAME COMMAND...
# Runs one test (ctest's command for it) in a Wine prefix and on a virtual
# display of its own, so that ctest can run tests side by side: the prefix is
# BUILD_DIR/prefixes/NAME (see wine-env.sh).
build=$1
name=$2
shift 2
MIBOR8_PREFIX_NAME="$name" MIBOR8_VIRTUAL_DISPLAY=1 exec "$(dirname "$0")/wine-env.sh" "$build" "$@"
