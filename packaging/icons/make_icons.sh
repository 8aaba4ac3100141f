#!/bin/sh
# Turns the calculator picture into the hicolor theme's PNG sizes:
#   make_icons.sh OUTDIR  ->  OUTDIR/<n>x<n>/apps/ostrel.png for n = 16 32 48 64 128 256
# Point filtering keeps the 32 x 32 picture's pixels square and its 16 colours unblended.
set -eu

if [ "$#" -ne 1 ]; then
    echo "usage: $0 OUTDIR" >&2
    exit 2
fi

out=$1
here=$(cd "$(dirname "$0")" && pwd)
picture="$here/../../about/calculator.xpm"

for size in 16 32 48 64 128 256; do
    dir="$out/${size}x${size}/apps"
    mkdir -p "$dir"
    convert "$picture" -filter point -resize "${size}x${size}" "PNG32:$dir/ostrel.png"
done
