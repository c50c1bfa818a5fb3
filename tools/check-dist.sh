#!/usr/bin/env bash
# Checks what tools/package.sh laid out: every checksum matches, the Linux
# library loads in ostrel-host and answers the version its folder names, each
# DLL exports exactly the table's Windows names, and each download holds its
# library and the reference. Exit status 0 only when
# every check that could run passed; a DLL the package left out is reported.
#
#   tools/check-dist.sh [DIST-FOLDER]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dist=${1:-$root/dist}
failed=0
fail() { echo "check-dist: $*" >&2; failed=1; }

ostrel=$(find "$dist" -maxdepth 1 -type d -name 'Ostrel-*' | head -n 1)
quendle=$(find "$dist" -maxdepth 1 -type d -name 'Quendle-*' | head -n 1)
[ -n "$ostrel" ] && [ -n "$quendle" ] || { echo "check-dist: no Ostrel-* and Quendle-* in $dist" >&2; exit 1; }

for folder in "$ostrel" "$quendle"; do
    (cd "$folder" && sha256sum --quiet -c SHA256SUMS) || fail "checksums differ in $folder"
    for file in ostrel.h EXPORTS.md; do [ -s "$folder/$file" ] || fail "$folder lacks $file"; done
done

version=${ostrel##*/Ostrel-}
[ "${quendle##*/Quendle-}" = "$version" ] || fail "Ostrel and Quendle name different versions"
script=$(mktemp "${TMPDIR:-/tmp}/ostrel-dist.XXXXXX")
trap 'rm -f "$script"' EXIT
printf 'Version\n' >"$script"
answer=$("$root/build/release/bin/ostrel-host" --lib "$ostrel/linux-x86_64/libOstrel.so" "$script" |
    sed -n 's/^Version = \([0-9.]*\).*/\1/p' || true)
[ -n "$answer" ] && [ "$(printf '%g' "$answer")" = "$version" ] ||
    fail "the packaged Linux library answered version '$answer', not $version"

# The Windows names: the sections of the export reference whose builds
# include Windows.
expected=$(awk '/^### `/ { name = $2; gsub("`", "", name) }
    /^Builds: / && /every build|Windows/ { print name }' "$ostrel/EXPORTS.md" | LC_ALL=C sort)
[ "$(echo "$expected" | wc -l)" -eq 71 ] || fail "the export reference lists $(echo "$expected" | wc -l) Windows names, not 71"
exported() {   # objdump dll: the names in the DLL's export directory
    "$1" -p "$2" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^[[:space:]]*\[ *[0-9]*\] \([A-Za-z_][A-Za-z_0-9]*\)$/\1/p' | LC_ALL=C sort
}
for pair in "x86_64-w64-mingw32-objdump $ostrel/windows-x64/Ostrel.dll" \
            "i686-w64-mingw32-objdump $quendle/windows-x86/Quendle.dll"; do
    tool=${pair%% *} dll=${pair#* }
    if [ ! -f "$dll" ]; then
        fail "$dll is missing"
    elif ! command -v "$tool" >/dev/null; then
        fail "no $tool to read $dll"
    elif [ "$(exported "$tool" "$dll")" != "$expected" ]; then
        fail "$dll does not export exactly the table's 71 Windows names"
    fi
done
# The downloads: each listed with its checksum, each one folder with its
# library, the header, the reference and its pictures.
(cd "$dist" && sha256sum --quiet -c SHA256SUMS) || fail "the downloads' checksums differ"
for zip in "$dist"/*.zip; do
    name=$(basename "$zip" .zip)
    grep -q " $name.zip\$" "$dist/SHA256SUMS" || fail "$name.zip is not in SHA256SUMS"
    listing=$(cd "$dist" && cmake -E tar tf "$zip")
    for file in ostrel.h EXPORTS.md SHA256SUMS docs/images/MergePSDfiles-after.png; do
        echo "$listing" | grep -qx "$name/$file" || fail "$name.zip lacks $file"
    done
    echo "$listing" | grep -qE "^$name/(libOstrel\.so|Ostrel\.dll|Quendle\.dll|Ostrel\.dylib|BUILD-ON-A-MAC\.txt)\$" ||
        fail "$name.zip holds no library"
done
[ "$(ls "$dist"/*.zip | wc -l)" -eq 4 ] || fail "dist/ holds $(ls "$dist"/*.zip | wc -l) downloads, not 4"

[ "$failed" -eq 0 ] && echo "check-dist: $dist holds Ostrel and Quendle $version, checked"
exit "$failed"
