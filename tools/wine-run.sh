#!/bin/sh
# Runs one Windows program under 64-bit Wine for CTest (the cross-compiling
# emulator of the win64 build), with a virtual X display of a known size that
# the tests read back from OSTREL_SCREEN_WIDTH / OSTREL_SCREEN_HEIGHT.
#
#   tools/wine-run.sh PROGRAM.exe [ARGS...]
#
# Every run gets a Wine prefix and Wine server of its own (hard links to one
# template prefix, made on the first run), so the desktop that Wine reports
# is this run's display, and parallel runs do not share a server. No Wine
# debug output, no Mono or Gecko install prompts. OSTREL_WINEPREFIX names the
# template folder. The exit status is the program's.
set -eu

: "${OSTREL_WINEPREFIX:=${TMPDIR:-/tmp}/ostrel-wine-$(id -u)}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export OSTREL_SCREEN_WIDTH=1280 OSTREL_SCREEN_HEIGHT=1024

# Debian's wine64 package provides the `wine` launcher, which runs the 64-bit
# loader when no 32-bit Wine is installed, and the server beside the loader.
WINE=${OSTREL_WINE:-wine}
WINESERVER=${OSTREL_WINESERVER:-$(command -v wineserver || echo /usr/lib/wine/wineserver)}

template="$OSTREL_WINEPREFIX"
mkdir -p "$(dirname "$template")"
if [ ! -f "$template/system.reg" ]; then
    flock "$template.lock" sh -c "
        [ -f '$template/system.reg' ] && exit 0
        WINEPREFIX='$template' '$WINE' wineboot -i >/dev/null 2>&1 || true
        WINEPREFIX='$template' '$WINESERVER' -w"
fi

run_dir=$(mktemp -d "$(dirname "$template")/ostrel-wine-run.XXXXXX")
display_file="$run_dir.display"
xvfb_pid=
cleanup() {
    # The server saves into the prefix as it ends: wait for it before removing.
    WINEPREFIX="$run_dir/prefix" "$WINESERVER" -k >/dev/null 2>&1 || true
    WINEPREFIX="$run_dir/prefix" timeout 20 "$WINESERVER" -w >/dev/null 2>&1 || true
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    rm -rf "$run_dir" "$display_file"
}
trap cleanup EXIT
trap 'exit 129' HUP INT TERM

cp -al "$template" "$run_dir/prefix"
export WINEPREFIX="$run_dir/prefix"

# A private X server: Xvfb chooses a free display number and writes it.
: >"$display_file"
Xvfb -displayfd 3 -screen 0 "${OSTREL_SCREEN_WIDTH}x${OSTREL_SCREEN_HEIGHT}x24" -nolisten tcp \
    3>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 200); do
    [ -s "$display_file" ] && break
    sleep 0.05
done
DISPLAY=":$(head -n1 "$display_file")"
export DISPLAY

driver_pid=
if [ -n "${OSTREL_WINE_DRIVER:-}" ]; then
    sh -c "$OSTREL_WINE_DRIVER" &
    driver_pid=$!
fi

# The program runs in the background so that a signal (a test timeout) is
# handled at once: the cleanup ends every Wine process of this run's prefix.
status=0
"$WINE" "$@" &
wait $! || status=$?
if [ -n "$driver_pid" ]; then
    kill "$driver_pid" 2>/dev/null || true
    wait "$driver_pid" 2>/dev/null || true
fi
exit "$status"
