#!/bin/sh
# Paths and names in an ANSI code page, through the Windows library under
# Wine, which takes its ANSI code page from the locale:
#
#   tools/wine-codepage-test.sh HOST.exe LOCALE
#
# LOCALE is ja_JP (code page 932), zh_CN (936), zh_TW (950) or de_DE (1252).
# The two characters used in folder, file and group names have 0x5C, the
# byte of '\', as their second byte in the double-byte code pages; in 1252
# they are single bytes and the results are the same. The exports: AppendOBJ,
# the four splits, GetDirFileList and GetFileInfo, OpenFolder and GetFile,
# AddDatFile, OpenNEWPrjFile, EmptyFolder. The script and the OBJ
# text are written in the code page; the outputs are checked by their names
# as Linux sees them (UTF-8). Exit status 0: passed; 1: failed; 77: cannot
# run here (the reason is printed).
set -eu
host=${1:?host program}; locale=${2:?locale}
tools=$(cd "$(dirname "$0")" && pwd)

case $locale in
    ja_JP) codepage=CP932; a=十; b=表 ;;
    zh_CN) codepage=CP936; a=乗; b=刓 ;;
    zh_TW) codepage=CP950; a=功; b=許 ;;
    de_DE) codepage=CP1252; a=é; b=ü ;;
    *) echo "unknown locale $locale" >&2; exit 2 ;;
esac
if ! locale -a 2>/dev/null | grep -qix "$locale.utf8"; then
    echo "SKIPPED: the locale $locale.UTF-8 is not generated (tools/install-deps.sh makes it)"
    exit 77
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-codepage.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/parts" "$work/out" "$work/tvt" "$work/list" "$work/tev" "$work/$a"
cp "$tools/../examples/meshes/head.tev" "$work/m.tev"
printf 'listed' >"$work/$a/$b.txt"
encode() { iconv -f UTF-8 -t "$codepage"; }
decode() { iconv -f "$codepage" -t UTF-8 | tr -d '\r'; }
# The folder as the Windows program names it, with backslashes doubled for
# the script's quoting.
w="Z:$(printf '%s' "$work" | sed 's|/|\\\\|g')"

printf 'v 0 0 0\nv 1 0 0\nv 0 1 0\ng part\nf 1 2 3\n' >"$work/parts/$a.obj"
printf 'v 0 0 0\nv 1 0 0\nv 0 1 0\ng %s\nf 1 2 3\ng %s%s\nf 1 2 3\n' "$a" "$b" "$a" | encode >"$work/split.obj"
printf 'data' >"$work/12$b.dat"
cat <<SCRIPT | encode >"$work/script.host"
GroupListClear
AppendOBJ "$w\\\\parts\\\\$a.obj" 0 "$w\\\\fig.obj"
GroupListGetName null 0 out
SplitOBJ "$w\\\\split.obj" 0 "$w\\\\out\\\\$b.obj"
SplitOBJtoTev "$w\\\\split.obj" 0 "$w\\\\tvt\\\\$b.Tvt"
ListSplitOBJtoOBJ "$w\\\\fig.obj" 0 "$w\\\\list\\\\$b.obj"
ListSplitOBJtoTev "$w\\\\m.tev" 0 "$w\\\\tev\\\\$b.Tvt"
GetDirFileList "$w\\\\$a" 0
GetFileInfo "name" 1 out
OpenFolder "$w\\\\$a"
GetFile null 0 out
GetFile null 0 out
GetFile null 0 out
AddTPoseRef "pose" 1 "info"
WritePrjFile "$w\\\\p.prj"
AddDatFile "$w\\\\12$b.dat" 0 "$w\\\\p.prj"
OpenNEWPrjFile "$w\\\\p.prj" 0 "$w\\\\$a\\\\${b}x"
FileCopyTo "$w\\\\$a\\\\12X.dat" 0 "$w\\\\copy.dat"
EmptyFolder "$w\\\\$a"
SCRIPT

status=0
LANG=$locale.UTF-8 LC_ALL=$locale.UTF-8 sh "$tools/wine-run.sh" "$host" "$work/script.host" >"$work/output" 2>&1 || status=$?
[ "$status" -eq 77 ] && { cat "$work/output"; exit 77; }
decode <"$work/output" >"$work/output.txt"

failures=0
expect() {   # description, then a command that must succeed
    what=$1; shift
    if "$@"; then :; else echo "FAILED ($locale, $codepage): $what"; failures=$((failures + 1)); fi
}
answered() { grep -qx "$1" "$work/output.txt"; }
expect "AppendOBJ appends 3 vertices" answered "AppendOBJ = 3"
decode <"$work/fig.obj" >"$work/fig.txt"
expect "AppendOBJ names the group after the file" grep -qx "g $a" "$work/fig.txt"
expect "the group list holds the file's name" grep -q "^GroupListGetName = 0 \"$a\"" "$work/output.txt"
expect "SplitOBJ succeeds" answered "SplitOBJ = 0"
expect "SplitOBJ writes $a.obj in the memBlock's folder" test -f "$work/out/$a.obj"
expect "SplitOBJ writes $b$a.obj in the memBlock's folder" test -f "$work/out/$b$a.obj"
expect "SplitOBJ writes nothing else" test "$(ls "$work/out" | wc -l)" -eq 2
expect "SplitOBJtoTev writes $a.Tvt and $b$a.Tvt" test -f "$work/tvt/$a.Tvt" -a -f "$work/tvt/$b$a.Tvt"
expect "ListSplitOBJtoOBJ writes the group list's $a.obj" test -f "$work/list/$a.obj"
expect "ListSplitOBJtoTev writes the group list's $a.Tvt" test -f "$work/tev/$a.Tvt"
expect "GetDirFileList lists the folder $a" answered "GetDirFileList = 1"
expect "GetFile walks the folder $a" grep -qx "GetFile = 0 \"$b.txt\"" "$work/output.txt"
expect "GetFileInfo names its one file" grep -qx "GetFileInfo = [0-9]* \"$b.txt\"" "$work/output.txt"
expect "AddDatFile reads the chunk number 12" answered "AddDatFile = 0"
expect "OpenNEWPrjFile unpacks" answered "OpenNEWPrjFile = 0"
expect "the chunk was unpacked into the folder $a" grep -qx "FileCopyTo = 0" "$work/output.txt"
expect "EmptyFolder empties the folder $a" answered "EmptyFolder = 0"
expect "EmptyFolder removed the unpacked file" test ! -e "$work/$a/12X.dat"
if [ "$failures" -gt 0 ]; then
    echo "ostrel-host printed:"; cat "$work/output.txt"
    echo "files:"; (cd "$work" && find . | sort)
    exit 1
fi
echo "passed: $locale ($codepage), names with $a and $b"
