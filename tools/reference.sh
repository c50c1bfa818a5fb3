#!/bin/sh
# Writes EXPORTS.md, host/ostrel.h and tests/header/every_export.c from
# host/export_table.hpp, as ostrel-reference prints them. With --check it
# changes nothing and fails when a file differs from what the table gives.
#
#   tools/reference.sh [--check] [OSTREL-REFERENCE]
#
# The program defaults to the release preset's (cmake --build --preset release
# --target ostrel-reference).
set -eu

check=false
if [ "${1:-}" = --check ]; then
    check=true
    shift
fi
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/release/bin/ostrel-reference}
if [ ! -x "$program" ]; then
    echo "reference: no $program; build it with: cmake --build --preset release --target ostrel-reference" >&2
    exit 2
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-reference.XXXXXX")
trap 'rm -rf "$work"' EXIT

status=0
for pair in markdown:EXPORTS.md header:host/ostrel.h address-check:tests/header/every_export.c; do
    what=${pair%%:*}
    file=$root/${pair#*:}
    "$program" "$what" >"$work/new"
    if $check; then
        if ! cmp -s "$work/new" "$file"; then
            echo "${pair#*:} differs from host/export_table.hpp (run tools/reference.sh):" >&2
            diff -u "$file" "$work/new" >&2 || true
            status=1
        fi
    else
        cat "$work/new" >"$file"
    fi
done
exit $status
