#!/usr/bin/env bash
# Fetches OBJ files written by other 3D programs, for the tests that split and
# join real files. They come from Debian packages (downloaded, not installed):
#   assimp-testmodels: spider.obj (MilkShape 3D export: groups, materials,
#                      v/vt/vn faces) and regr01.obj (3ds Max export: many
#                      groups, bare "g" lines)
#   glmark2-data:      bunny.obj (a scanned mesh of 35k vertices, no groups)
# Usage: fetch-test-models.sh [DEST]   (default: ./test-models)
# Exits 0 even when the packages cannot be had: the tests that need the files
# skip when they are absent.
set -u
dest="${1:-test-models}"
wanted=(spider.obj regr01.obj bunny.obj)

have_all() {
  for f in "${wanted[@]}"; do [ -s "$dest/$f" ] || return 1; done
}

mkdir -p "$dest" || exit 0
dest_abs="$(cd "$dest" && pwd)"
exec 9>"$dest/.lock"
flock 9 2>/dev/null || true
have_all && exit 0

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 0
# apt-get download writes into the current folder; as root it may warn that
# the _apt user cannot reach it, which does no harm.
if ! apt-get download assimp-testmodels glmark2-data >/dev/null 2>&1; then
  apt-get update >/dev/null 2>&1 || true
  apt-get download assimp-testmodels glmark2-data >/dev/null 2>&1 || {
    echo "fetch-test-models: packages not available; model tests will skip" >&2
    exit 0
  }
fi
for deb in ./*.deb; do dpkg-deb -x "$deb" x || exit 0; done
copy() { [ -f "$1" ] && cp "$1" "$dest_abs/$2"; }
copy x/usr/share/assimp/models/OBJ/spider.obj spider.obj
copy x/usr/share/assimp/models/OBJ/regr01.obj regr01.obj
copy x/usr/share/glmark2/models/bunny.obj bunny.obj
dest="$dest_abs"
have_all && echo "fetch-test-models: models in $dest_abs"
exit 0
