#!/bin/sh
# Writes README.md's table of exports from host/export_table.hpp, as
# ostrel-export-table prints it, between the table's two marker lines. With
# --check it changes nothing and fails when README.md holds another table.
#
#   tools/readme-exports.sh [--check] [OSTREL-EXPORT-TABLE]
#
# The program defaults to the release preset's (cmake --build --preset release
# --target ostrel-export-table).
set -eu

check=false
if [ "${1:-}" = --check ]; then
    check=true
    shift
fi
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/release/bin/ostrel-export-table}
readme=$root/README.md
begin='<!-- export table: written by tools/readme-exports.sh from host/export_table.hpp -->'
end='<!-- end of export table -->'

if [ ! -x "$program" ]; then
    echo "readme-exports: no $program; build it with: cmake --build --preset release --target ostrel-export-table" >&2
    exit 2
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-readme.XXXXXX")
trap 'rm -rf "$work"' EXIT
"$program" >"$work/table"

# Everything outside the markers is kept as it is; what lies between them is
# replaced by the table.
if ! awk -v begin="$begin" -v end="$end" -v table="$work/table" '
    $0 == begin { print; while ((getline row < table) > 0) print row; inside = 1; found++; next }
    $0 == end { inside = 0; found++ }
    !inside { print }
    END { if (found != 2) exit 1 }' "$readme" >"$work/README.md"; then
    echo "readme-exports: README.md lacks the marker lines of the export table" >&2
    exit 2
fi

if $check; then
    if ! cmp -s "$work/README.md" "$readme"; then
        echo "README.md's export table differs from host/export_table.hpp (run tools/readme-exports.sh):" >&2
        diff -u "$readme" "$work/README.md" >&2 || true
        exit 1
    fi
else
    cat "$work/README.md" >"$readme"
fi
