#!/usr/bin/env bash
# Gathers the Windows program into the folder that the zip and the installer both carry: it
# runs from anywhere, its binaries stripped and (given a certificate) signed, every file with
# the release's time, so that the same build gives the same bytes.
#
#   stage.sh BUILD_DIR   ->  BUILD_DIR/stage/Ostrel-<version>-win64
set -euo pipefail
build=$(cd "$1" && pwd)
qt=$(sed -n 's/^OSTREL_WINDOWS_QT:[A-Z]*=//p' "$build/CMakeCache.txt")
here=$(cd "$(dirname "$0")" && pwd)
mingw=x86_64-w64-mingw32
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
epoch=$(cat "$build/source_date_epoch")
stage=$build/stage/Ostrel-$version-win64
rm -rf "$build/stage"
mkdir -p "$stage/platforms" "$stage/styles"

cp "$build/bin/Ostrel.exe" "$build/bin/Pellund.dll" "$build/bin/ostrel-tc.exe" "$stage/"
cp "$build/bin/ostrel.txt" "$build/bin/ostrel-tc.txt" "$stage/"
cp "$qt"/bin/Qt6Core.dll "$qt"/bin/Qt6Gui.dll "$qt"/bin/Qt6Widgets.dll "$stage/"
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
    cp "$($mingw-g++-posix -print-file-name=$dll)" "$stage/"
done
# strip writes the time it runs into a PE header, unless told the release's.
binaries=$(find "$stage" -name '*.dll' -o -name '*.exe' | LC_ALL=C sort)
SOURCE_DATE_EPOCH=${epoch:-0} $mingw-strip --strip-unneeded $binaries
bash "$here/sign.sh" $binaries

# Modes as well as times go into the zip: the same whatever the builder's umask.
find "$stage" -type d -exec chmod 755 {} +
find "$stage" -type f -exec chmod 644 {} +
chmod 755 $binaries
find "$stage" -exec touch -h -d "@${epoch:-0}" {} +
echo "$stage"
