#!/bin/sh
# Checks that runs through tools/wine-run.sh leave its template prefix as it
# was: many runs of the host, two at a time, each of which has Wine save its
# registry, then every file of the template compared by checksum with its
# state before the runs. Each run must also print the host's answer, so a
# loader that starts nothing cannot pass.
#
#   tools/wine-template-test.sh OSTREL-HOST.EXE [RUNS]
#
# Exit status 0 when the template is unchanged and every run answered, 77
# (skipped) when wine-run.sh cannot run the program here.
set -eu

host=$1
runs=${2:-24}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-template-test.XXXXXX")
trap 'rm -rf "$work"' EXIT

status=0
check=$("$here/wine-run.sh" --check "$host") || status=$?
echo "$check"
[ "$status" -eq 0 ] || exit "$status"
template=${check##*; template }

printf 'Version\n' >"$work/script.host"
# One run: its status and the host's answer are both checked.
cat >"$work/run.sh" <<RUN
out=\$("$here/wine-run.sh" "$host" "$work/script.host" 2>&1) || { printf 'run %s failed:\n%s\n' "\$1" "\$out"; exit 1; }
case \$out in *"Version = "*) ;; *) printf 'run %s printed no answer:\n%s\n' "\$1" "\$out"; exit 1 ;; esac
RUN

# The first run makes the template if there is none yet.
sh "$work/run.sh" 0

[ -f "$template/system.reg" ] || { echo "no template at $template"; exit 1; }
checksums() {
    (cd "$template" && find . -type f -print0 | sort -z | xargs -0 sha256sum)
}
checksums >"$work/before"

failed=0
seq 1 "$runs" | xargs -P 2 -n 1 sh "$work/run.sh" || failed=1

checksums >"$work/after"
if ! cmp -s "$work/before" "$work/after"; then
    echo "the template $template changed during $runs runs:"
    diff "$work/before" "$work/after" | sed -n 's/^> [0-9a-f]*  /  /p'
    exit 1
fi
[ "$failed" -eq 0 ] || exit 1
echo "template $template: $(wc -l <"$work/before") files unchanged after $runs runs, two at a time"
