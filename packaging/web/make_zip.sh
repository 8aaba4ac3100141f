#!/usr/bin/env bash
# Zips the staged page with fixed times and order, so that the same build gives the same bytes.
#
#   make_zip.sh BUILD_DIR   ->  BUILD_DIR/Ostrel-<version>-web.zip
set -euo pipefail
build=$(cd "$1" && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
name=Ostrel-$version-web
rm -rf "$build/zip" "$build/$name.zip"
mkdir -p "$build/zip"
cp -a "$build/site" "$build/zip/$name"
(cd "$build/zip" && find "$name" | LC_ALL=C sort | TZ=UTC zip -q -X -D -@ "$build/$name.zip")
rm -rf "$build/zip"
echo "$build/$name.zip"
