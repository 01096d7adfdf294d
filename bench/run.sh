#!/bin/sh
# Usage: run.sh BUILD_DIR   (inside wine-env.sh)
# Runs every benchmark folder's run.sh; each prints its figures beside the peer
# it is measured against in the same run.
set -u
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
rc=0
for script in "$here"/*/run.sh; do
    [ -x "$script" ] || continue
    echo "== $(basename "$(dirname "$script")")"
    "$script" "$build" || rc=1
done
exit $rc
