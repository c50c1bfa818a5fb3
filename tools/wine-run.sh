#!/bin/sh
# Runs one Windows program under Wine for CTest (the cross-compiling emulator
# of the Windows builds), with a virtual X display of a known size that the
# tests read back from OSTREL_SCREEN_WIDTH / OSTREL_SCREEN_HEIGHT.
#
#   tools/wine-run.sh PROGRAM.exe [ARGS...]
#   tools/wine-run.sh --check PROGRAM.exe    says which loader would run it
#
# The loader follows the Machine field of PROGRAM's PE header: x86-64 programs
# run with Wine's 64-bit loader in a 64-bit prefix, i386 programs with the
# 32-bit loader in a 32-bit prefix. Never through the `wine` launcher: it
# picks the 32-bit loader whenever one is installed, and without one it
# "runs" an i386 program with status 0 and no output.
#
# When this machine cannot run the program's architecture (no such loader, or
# a kernel without 32-bit execution), the script says why on standard output
# and exits 77, which the tests declare as their skip code. Otherwise the exit
# status is the program's.
#
# Every run gets a Wine prefix and Wine server of its own, so the desktop that
# Wine reports is this run's display and parallel runs do not share a server.
# The prefix is hard links to a template made on the first run (one per
# architecture), except for the files Wine rewrites in place when they have
# more than one link (the registry and the .ini files): those are copies, so
# no run writes into the template. No Wine debug output, no Mono or Gecko
# install prompts. OSTREL_WINEPREFIX names the folder of the templates and
# runs; OSTREL_WINE64 / OSTREL_WINE32 / OSTREL_WINESERVER replace the loaders
# and the server.
set -eu

skip_status=77
not_run() {
    echo "wine-run: not run: $*"
    exit "$skip_status"
}

check_only=
if [ "${1:-}" = "--check" ]; then
    check_only=1
    shift
fi
[ $# -ge 1 ] || { echo "usage: $0 [--check] PROGRAM.exe [ARGS...]" >&2; exit 2; }
program=$1

# The PE header's Machine field: the 16 bits after the "PE\0\0" signature,
# whose offset is the 32-bit value at 0x3c.
[ -f "$program" ] || { echo "wine-run: $program: no such file" >&2; exit 2; }
signature=
if [ "$(head -c 2 "$program")" = "MZ" ]; then
    pe_offset=$(od -An -tu4 --endian=little -j 60 -N 4 "$program" 2>/dev/null | tr -d ' ')
    signature=$(od -An -tx1 -j "${pe_offset:-0}" -N 4 "$program" 2>/dev/null | tr -d ' ')
    machine=$(od -An -tx2 --endian=little -j $((${pe_offset:-0} + 4)) -N 2 "$program" 2>/dev/null | tr -d ' ')
fi
if [ "$signature" != "50450000" ]; then
    echo "wine-run: $program is not a Windows program (no PE header)" >&2
    exit 2
fi
case $machine in
    8664)
        arch=win64
        loader=${OSTREL_WINE64:-/usr/lib/wine/wine64}
        [ -x "$loader" ] || not_run "x86-64 program, and the 64-bit Wine loader $loader is not installed (Debian: wine64)"
        ;;
    014c)
        arch=win32
        loader=${OSTREL_WINE32:-/usr/lib/wine/wine}
        # The probe is the 32-bit dynamic loader itself: it runs only where the
        # kernel executes 32-bit x86 code.
        /lib/ld-linux.so.2 --version >/dev/null 2>&1 ||
            not_run "i386 program, and this machine does not run 32-bit x86 programs (/lib/ld-linux.so.2 --version fails)"
        [ -x "$loader" ] || not_run "i386 program, and the 32-bit Wine loader $loader is not installed (Debian: wine32:i386)"
        export WINEARCH=win32
        ;;
    *)
        echo "wine-run: $program: PE machine 0x$machine is neither x86-64 nor i386" >&2
        exit 2
        ;;
esac
version=$("$loader" --version 2>/dev/null) || not_run "$loader does not start on this machine"
: "${OSTREL_WINEPREFIX:=${TMPDIR:-/tmp}/ostrel-wine-templates-$(id -u)}"
base=$OSTREL_WINEPREFIX
template="$base/$arch"
if [ -n "$check_only" ]; then
    echo "wine-run: $program ($arch) runs with $loader, $version; template $template"
    exit 0
fi

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export OSTREL_SCREEN_WIDTH=1280 OSTREL_SCREEN_HEIGHT=1024
WINESERVER=${OSTREL_WINESERVER:-$(command -v wineserver || echo /usr/lib/wine/wineserver)}

# The template is made again when the loaders or Wine's setup file change
# (an upgrade, or the 32-bit loader installed beside the 64-bit one), so no
# run starts Wine's prefix update, which rewrites linked files in place.
mkdir -p "$base"
stamp="$loader $version; $(ls "$(dirname "$loader")" | tr '\n' ' ')$(stat -c %Y /usr/share/wine/wine.inf 2>/dev/null || echo -)"
template_current() {
    [ -f "$template/system.reg" ] && [ "$(cat "$template/.ostrel-template" 2>/dev/null)" = "$stamp" ]
}
if ! template_current; then
    # Made in a folder of its own and renamed into place when complete, so an
    # interrupted setup never leaves a partial template behind.
    exec 9>"$base/$arch.lock"
    flock 9
    if ! template_current; then
        new=$(mktemp -d "$base/new-$arch.XXXXXX")
        # Without the lock's descriptor: a lingering Wine server would hold it.
        WINEPREFIX="$new/prefix" timeout 600 "$loader" wineboot -i >/dev/null 2>&1 9>&- || true
        WINEPREFIX="$new/prefix" timeout 60 "$WINESERVER" -w >/dev/null 2>&1 9>&- || true
        if [ ! -f "$new/prefix/system.reg" ]; then
            rm -rf "$new"
            echo "wine-run: $loader could not make a $arch prefix" >&2
            exit 1
        fi
        printf '%s\n' "$stamp" >"$new/prefix/.ostrel-template"
        if [ -d "$template" ]; then
            old=$(mktemp -d "$base/old-$arch.XXXXXX")
            mv "$template" "$old/prefix"
            rm -rf "$old"
        fi
        mv "$new/prefix" "$template"
        rmdir "$new"
    fi
    exec 9>&-
fi

run_dir=$(mktemp -d "$base/run-$arch.XXXXXX")
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
# Wine rewrites a file with more than one link in place instead of replacing
# it: these are the run's own copies.
for file in "$WINEPREFIX"/*.reg "$WINEPREFIX"/drive_c/windows/*.ini; do
    [ -f "$file" ] || continue
    rm -f "$file"
    cp -p "$template/${file#"$WINEPREFIX"/}" "$file"
done

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
"$loader" "$@" &
wait $! || status=$?
if [ -n "$driver_pid" ]; then
    kill "$driver_pid" 2>/dev/null || true
    wait "$driver_pid" 2>/dev/null || true
fi
exit "$status"
