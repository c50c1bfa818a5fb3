#!/bin/sh
# Runs a command on a virtual X display of its own. Xvfb chooses a free
# display number and writes it to a file (-displayfd), so no lock files or
# signals are raced for; Xvfb is stopped when the command ends, and the
# command's exit status is kept.
#
#   tests/macos/with-xvfb.sh COMMAND [ARGS...]
set -u
work=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-xvfb.XXXXXX")
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/log" &
server=$!
tries=0
while [ ! -s "$work/display" ]; do
    tries=$((tries + 1))
    if [ $tries -gt 100 ] || ! kill -0 $server 2>/dev/null; then
        echo "Xvfb did not start:" >&2
        cat "$work/log" >&2
        kill $server 2>/dev/null
        rm -rf "$work"
        exit 1
    fi
    sleep 0.1
done
DISPLAY=":$(head -n1 "$work/display")" "$@"
status=$?
kill $server 2>/dev/null
wait $server 2>/dev/null
rm -rf "$work"
exit $status
