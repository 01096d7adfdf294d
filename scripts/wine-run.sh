#!/bin/sh
# Runs a Windows program under Wine for ctest. Wine's background processes inherit
# stderr; when that is ctest's pipe, ctest waits for them after every test. Sending
# stderr to a file and copying it back afterwards avoids the wait.
err=$(mktemp)
wine "$@" 2>"$err"
rc=$?
cat "$err" >&2
rm -f "$err"
exit $rc
