#!/usr/bin/env bash
# Gathers the Windows program into a folder that runs from anywhere once unpacked, and zips it
# with fixed times and order, so that the same build gives the same bytes.
#
#   make_zip.sh BUILD_DIR QT_PREFIX   ->  BUILD_DIR/Ostrel-<version>-win64.zip
set -euo pipefail
build=$(cd "$1" && pwd)
qt=$2
mingw=x86_64-w64-mingw32
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
epoch=$(cat "$build/source_date_epoch")
name=Ostrel-$version-win64
stage=$build/zip/$name
rm -rf "$build/zip" "$build/$name.zip"
mkdir -p "$stage/platforms" "$stage/styles"

cp "$build/bin/Ostrel.exe" "$build/bin/Pellund.dll" "$build/bin/ostrel-tc.exe" "$stage/"
cp "$qt"/bin/Qt6Core.dll "$qt"/bin/Qt6Gui.dll "$qt"/bin/Qt6Widgets.dll "$stage/"
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
    cp "$($mingw-g++-posix -print-file-name=$dll)" "$stage/"
done
find "$stage" -name '*.dll' -o -name '*.exe' | xargs $mingw-strip --strip-unneeded

find "$stage" -exec touch -h -d "@${epoch:-0}" {} +
(cd "$build/zip" && find "$name" | LC_ALL=C sort | TZ=UTC zip -q -X -D -@ "$build/$name.zip")
echo "$build/$name.zip"
