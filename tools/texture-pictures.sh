#!/usr/bin/env bash
# Pictures of the texture tools for EXPORTS.md: for each texture export the
# demo's texture script calls, what it reads and what it leaves, as two small
# PNGs in docs/images/:
#
#   <Export>-before.png   the file(s) the call reads, as they are just before it
#   <Export>-after.png    the file it changed or wrote, just after it
#
# A call's files are taken from examples/image_textures.host itself: the script
# is run through ostrel-host up to the line before the export's first call, and
# up to that call, each time from the start in a scratch folder (the script
# chains calls on one file, so its final outputs in out/demo/images/ show only
# the last edit). The 100 x 100 PSD pictures are enlarged 2 times, with whole
# pixels, so the thumbnail keeps its size relative to its input; where a call
# reads two PSD files (MergePSDfiles, HealPSDfiles) the before picture holds
# both at their own size, the changed file left and the second input right.
# The BMP strips are enlarged 6 times. ImageMagick (tools/install-deps.sh test)
# makes the PNGs without metadata, so a run on the same inputs writes the same
# bytes.
#
# Run it by hand when the example script or examples/images/ change; the test
# command does not run it. Builds the library and ostrel-host in build/pics
# (OSTREL_PICS_BUILD to change that).
#
#   tools/texture-pictures.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
script=examples/image_textures.host
build=${OSTREL_PICS_BUILD:-build/pics}
out=docs/images

if command -v magick >/dev/null; then im=(magick); elif command -v convert >/dev/null; then im=(convert); else
    echo "texture-pictures: no ImageMagick (bash tools/install-deps.sh test installs it)" >&2
    exit 1
fi

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DOSTREL_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j "${OSTREL_JOBS:-$(nproc)}" --target Ostrel ostrel-host >/dev/null
host=$root/$build/bin/ostrel-host

scratch=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-pictures.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
ln -s "$root/examples" "$scratch/examples"

# Per export, of the quoted arguments of its line (1 text, 2 memBlock): the
# files it reads, and the file that holds its result.
tools="
MergePSDfiles   1,2 1
HealPSDfiles    1,2 1
FixEdgesPSD     1   1
RGBtoGrayscale  1   2
SwapColorsPSD   1   1
MakeStencilPSD  1   1
CreateThumbnail 1   1
CropBMPfile     1   2
"

run_to() {   # line: a fresh scratch folder holding what the script's lines 1..line left
    rm -rf "$scratch/out"
    mkdir -p "$scratch/out/demo"
    head -n "$1" "$script" | (cd "$scratch" && "$host") >/dev/null
}

argument() {   # line n: the line's n-th quoted argument
    sed -n "$1p" "$script" | grep -o '"[^"]*"' | sed -n "$2p" | tr -d '"'
}

# One file as a PNG: a PSD's composite at `scale`, a BMP at 6 times.
picture() {   # file scale png
    local scale=$2
    case "$1" in *.bmp | *.BMP) scale=6 ;; esac
    "${im[@]}" "$1[0]" -filter point -resize "$((scale * 100))%" "$3"
}

png_options=(-strip -define png:exclude-chunks=date,time -define png:compression-level=9 -define png:compression-filter=5)

mkdir -p "$out"
echo "$tools" | while read -r name reads result; do
    [ -n "$name" ] || continue
    line=$(grep -n "^$name " "$script" | head -n 1 | cut -d: -f1)
    [ -n "$line" ] || { echo "texture-pictures: $script has no $name line" >&2; exit 1; }
    inputs=()
    for n in ${reads//,/ }; do inputs+=("$(argument "$line" "$n")"); done
    output=$(argument "$line" "$result")

    run_to $((line - 1))
    scale=2; [ ${#inputs[@]} -gt 1 ] && scale=1
    parts=()
    for i in "${!inputs[@]}"; do
        [ "$i" -gt 0 ] && parts+=(-size 6x1 xc:white)
        picture "$scratch/${inputs[$i]}" "$scale" "$scratch/before-$i.png"
        parts+=("$scratch/before-$i.png")
    done
    "${im[@]}" -background white "${parts[@]}" -gravity north +append "${png_options[@]}" "PNG:$out/$name-before.png"

    run_to "$line"
    picture "$scratch/$output" 2 "$scratch/after.png"
    "${im[@]}" "$scratch/after.png" "${png_options[@]}" "PNG:$out/$name-after.png"
done
ls -l "$out"
