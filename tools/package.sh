#!/usr/bin/env bash
# Lays out the deliverables as a plug-in author receives them, in dist/:
#
#   dist/Ostrel-<version>/   windows-x64/Ostrel.dll, linux-x86_64/libOstrel.so,
#                            macos/ (the library where an Apple toolchain built
#                            it, otherwise a note), ostrel.h, EXPORTS.md and its
#                            pictures (docs/images/), SHA256SUMS
#   dist/Quendle-<version>/  windows-x86/Quendle.dll, the same reference files
#
# and the downloads: one zip per deliverable and platform, each holding its
# library and the reference files in one folder, and dist/SHA256SUMS listing
# every zip with its checksum:
#
#   Ostrel-<version>-windows-x64.zip  Ostrel-<version>-linux-x86_64.zip
#   Ostrel-<version>-macos.zip        Quendle-<version>-windows-x86.zip
#
# <version> is what the built library's Version export answers. Builds the
# release, win64 and win32 presets' libraries first (only the library targets);
# a preset whose toolchain is missing is left out, and the layout says so.
#
#   tools/package.sh [DIST-FOLDER]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dist=${1:-$root/dist}
jobs=${OSTREL_JOBS:-$(nproc)}
cd "$root"

built() {   # preset target...: true when the preset configures and builds
    local preset=$1
    shift
    cmake --preset "$preset" >/dev/null 2>&1 && cmake --build --preset "$preset" -j "$jobs" --target "$@" >/dev/null
}

built release Ostrel ostrel-host
printf 'Version\n' >"$root/build/release/version.host"
version=$("$root/build/release/bin/ostrel-host" --lib "$root/build/release/bin/libOstrel.so" \
    "$root/build/release/version.host" | sed -n 's/^Version = \([0-9.]*\).*/\1/p')
[ -n "$version" ] || { echo "package: the library did not answer its version" >&2; exit 1; }
# The float the export answers, at the precision the version is written with.
version=$(printf '%g' "$version")

reference_files() {   # folder: the header, the reference and its pictures
    local folder=$1
    cp host/ostrel.h EXPORTS.md "$folder/"
    mkdir -p "$folder/docs/images"
    cp docs/images/*.png "$folder/docs/images/"
}

checksums() {   # folder: SHA256SUMS of every file in it
    (cd "$1" && find . -type f ! -name SHA256SUMS | sed 's#^\./##' | LC_ALL=C sort | xargs sha256sum >SHA256SUMS)
}

lay_out() {   # folder: reference files, checksums of everything in it
    reference_files "$1"
    checksums "$1"
}

# download name library...: a zip of one folder named `name` that holds the
# libraries given and the reference files, as a plug-in author unpacks it.
download() {
    local name=$1
    shift
    local work
    work=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-zip.XXXXXX")
    mkdir "$work/$name"
    cp "$@" "$work/$name/"
    reference_files "$work/$name"
    checksums "$work/$name"
    # Fixed times, so that the same files give the same zip.
    find "$work/$name" -exec touch -h -d '2000-01-01 00:00:00Z' {} +
    (cd "$work" && find "$name" -type f | LC_ALL=C sort >list &&
        cmake -E tar cf "$dist/$name.zip" --format=zip --files-from=list)
    rm -rf "$work"
}

rm -rf "$dist"
ostrel="$dist/Ostrel-$version"
quendle="$dist/Quendle-$version"
mkdir -p "$ostrel/linux-x86_64" "$ostrel/macos" "$quendle"
cp build/release/bin/libOstrel.so "$ostrel/linux-x86_64/"
if built win64 Ostrel; then
    mkdir -p "$ostrel/windows-x64" && cp build/win64/bin/Ostrel.dll "$ostrel/windows-x64/"
else
    echo "package: the 64-bit Windows toolchain is missing; Ostrel.dll left out" >&2
fi
if built win32 Ostrel; then
    mkdir -p "$quendle/windows-x86" && cp build/win32/bin/Quendle.dll "$quendle/windows-x86/"
else
    echo "package: the 32-bit Windows toolchain is missing; Quendle.dll left out" >&2
fi
if [ -f build/macos/bin/Ostrel.dylib ]; then
    cp build/macos/bin/Ostrel.dylib "$ostrel/macos/"
else
    cat >"$ostrel/macos/BUILD-ON-A-MAC.txt" <<'NOTE'
The macOS library is built on a Mac with Xcode's command line tools:

    cmake --preset macos && cmake --build --preset macos

It lands in build/macos/bin/. This package was made where no Apple
toolchain is available.
NOTE
fi
lay_out "$ostrel"
lay_out "$quendle"

download "Ostrel-$version-linux-x86_64" "$ostrel/linux-x86_64/libOstrel.so"
[ -f "$ostrel/windows-x64/Ostrel.dll" ] && download "Ostrel-$version-windows-x64" "$ostrel/windows-x64/Ostrel.dll"
[ -f "$quendle/windows-x86/Quendle.dll" ] && download "Quendle-$version-windows-x86" "$quendle/windows-x86/Quendle.dll"
download "Ostrel-$version-macos" "$ostrel/macos/"*
(cd "$dist" && LC_ALL=C ls *.zip | xargs sha256sum >SHA256SUMS)
echo "$dist"
