#!/bin/sh
# Drives the Windows build's open dialog under Wine on a virtual display:
# with the start folder set, picks one file in a single-selection dialog and
# three in a multiple-selection one by typing into the focused File name
# field, then checks what GetFileList and GetFileInfo report.
#
#   tools/wine-dialog-test.sh OSTREL-HOST.EXE
#
# Needs Wine of the host's architecture, Xvfb, xdotool. Exit status 0 when
# every answer is the expected one, 77 (skipped) when wine-run.sh cannot run
# the host here.
set -eu

host=$1
here=$(cd "$(dirname "$0")" && pwd)
"$here/wine-run.sh" --check "$host" || exit $?
work=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-dialog.XXXXXX")
trap 'rm -rf "$work"' EXIT
touch "$work/a.obj" "$work/b.obj" "$work/c.obj" "$work/skip.txt"

# The folder as Wine names it: the Unix root is drive Z:.
folder="Z:$(printf '%s' "$work" | tr '/' '\\')"
title="Ostrel dialog test $$"

cat >"$work/script.host" <<SCRIPT
SetDefaultDir "$folder" 0 null
SetDialogTitle "$title 1" 0 null
GetFileList "Meshes|*.obj|All|*.*" 1 null
GetFileInfo "name" 1 out
GetFileInfo "fullname" 1 out
GetFileInfo "name" 2 out
SetDialogTitle "$title 2" 0 null
GetFileList "Meshes|*.obj" 0 null
GetFileInfo "fullname" 1 out
GetFileInfo "fullname" 2 out
GetFileInfo "name" 3 out
GetFileInfo "name" 4 out
SetDialogTitle "$title 3" 0 null
GetFileList "Meshes|*.obj" 0 null
GetFileInfo "fullname" 1 out
SCRIPT

# Without a window manager nothing has the keyboard: each dialog gets it
# explicitly, and its File name field has the dialog's first focus. Every
# dialog has a title of its own, so an answer never goes to the one before.
cat >"$work/driver.sh" <<DRIVER
answer() {
    win=\$(xdotool search --sync --name "$title \$2\\\$" | head -n1)
    sleep 1
    xdotool windowfocus --sync "\$win" 2>/dev/null || xdotool windowfocus "\$win"
    sleep 0.3
    if [ "\$1" = cancel ]; then xdotool key Escape; else xdotool type --delay 40 "\$1"; xdotool key Return; fi
}
answer 'b.obj' 1
answer '"a.obj" "b.obj" "c.obj"' 2
answer cancel 3
DRIVER

run_dialogs() {
    OSTREL_WINE_DRIVER="sh '$work/driver.sh'" timeout 120 "$here/wine-run.sh" "$host" "$work/script.host" 2>/dev/null |
        tr -d '\r'
}
f=$(printf '%s' "$folder" | sed 's/\\/\\\\/g')   # as ostrel-host quotes it
expected="SetDefaultDir = 0
SetDialogTitle = 0
GetFileList = 1
GetFileInfo = 5 \"b.obj\"
GetFileInfo = $(( ${#folder} + 6 )) \"$f\\\\b.obj\"
GetFileInfo = 0 \"\"
SetDialogTitle = 0
GetFileList = 3
GetFileInfo = $(( ${#folder} + 6 )) \"$f\\\\a.obj\"
GetFileInfo = $(( ${#folder} + 6 )) \"$f\\\\b.obj\"
GetFileInfo = 5 \"c.obj\"
GetFileInfo = 0 \"\"
SetDialogTitle = 0
GetFileList = 0
GetFileInfo = 0 \"\""
# The driver types into real windows by timing, which a loaded machine can
# outrun: a run whose answers differ gets one more try.
actual=$(run_dialogs)
if [ "$actual" != "$expected" ]; then
    echo "open dialog: the first run's answers differ; trying once more" >&2
    actual=$(run_dialogs)
fi
if [ "$actual" != "$expected" ]; then
    printf 'dialog answers differ\n--- expected\n%s\n--- actual\n%s\n' "$expected" "$actual"
    exit 1
fi
echo "open dialog: 1 and 3 files picked, cancel cleared the selection"
