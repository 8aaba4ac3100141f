#!/bin/sh
# Turns the calculator picture into the Windows icon that ostrel.rc names:
#   make_ico.sh OUTDIR  ->  OUTDIR/ostrel.ico holding 16, 32, 48 and 256 pixel images
# Point filtering keeps the 32 x 32 picture's pixels square, as in the hicolor PNGs.
set -eu

if [ "$#" -ne 1 ]; then
    echo "usage: $0 OUTDIR" >&2
    exit 2
fi

here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$1"
convert "$here/../../about/calculator.xpm" -filter point \
    -define icon:auto-resize=256,48,32,16 "$1/ostrel.ico"
