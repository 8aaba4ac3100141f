#!/usr/bin/env bash
# Builds Qt for Windows from Debian's own qt6-base source, with only what Ostrel needs, into
# the folder given; run once per Qt version and toolchain (about 25 minutes on two cores).
#
#   build_qt.sh PREFIX
set -euo pipefail
prefix=$1
here=$(cd "$(dirname "$0")" && pwd)
version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
work=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-qt.XXXXXX")
# A failed build is kept for a look at what failed.
trap 'if [ $? -eq 0 ]; then rm -rf "$work"; else echo "Qt build kept in $work" >&2; fi' EXIT

src=$(bash "$here/../qt_source.sh" "$work")

# Every feature the program does not use is left out, as for the web: the build takes a third
# less time. The widgets and the Vista style need a patch to build without menus, tool bars,
# tab bars, item views and the like.
patch -s -p1 -d "$src" < "$here/../qt6-base-features.patch"
unused=($(grep -v '^#' "$here/../qt_unused_features.txt"))

mkdir -p "$work/build"
cd "$work/build"
"$src/configure" -prefix "$prefix" -release -shared -xplatform win32-g++ \
    -qt-host-path /usr -nomake tests -nomake examples -no-dbus -no-opengl -no-icu \
    -no-freetype -no-fontconfig -no-glib -qt-zlib -qt-pcre -qt-libpng -no-libjpeg -no-gif \
    -qt-harfbuzz "${unused[@]/#/-no-feature-}" -no-pch -- -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64-x86_64.cmake" \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake > "$work/configure.log" 2>&1 \
    || { tail -n 40 "$work/configure.log"; exit 1; }
grep -i -A3 '^WARNING\|^ERROR' "$work/configure.log" >&2 || true
ninja Core Gui Widgets qwindows qwindowsvistastyle EntryPointImplementation

# The top-level install wants every target; the folders of those built install on their own.
for dir in . src src/3rdparty src/3rdparty/* src/corelib src/entrypoint src/gui src/widgets \
    src/platformsupport src/plugins src/plugins/platforms src/plugins/platforms/windows \
    src/plugins/styles src/plugins/styles/windowsvista; do
    [ -f "$dir/cmake_install.cmake" ] || continue
    cmake -DCMAKE_INSTALL_LOCAL_ONLY=ON -P "$dir/cmake_install.cmake" > /dev/null
done
echo "Qt $version for Windows installed in $prefix"
