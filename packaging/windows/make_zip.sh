#!/usr/bin/env bash
# Zips the staged program with fixed times and order, so that the same build gives the same bytes.
#
#   make_zip.sh BUILD_DIR   ->  BUILD_DIR/Ostrel-<version>-win64.zip
set -euo pipefail
build=$(cd "$1" && pwd)
name=$(basename "$(ls -d "$build"/stage/Ostrel-*-win64)")
rm -f "$build/$name.zip"
(cd "$build/stage" && find "$name" | LC_ALL=C sort | TZ=UTC zip -q -X -D -@ "$build/$name.zip")
echo "$build/$name.zip"
