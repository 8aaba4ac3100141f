#!/usr/bin/env bash
# Builds Qt for WebAssembly from Debian's own qt6-base source with Debian's Emscripten: static,
# optimised for size, with only the modules and features Ostrel uses, into the folder given. Run
# once per Qt and Emscripten version (about half an hour on two cores). The recipe a user follows
# to relink Ostrel's page with a changed Qt.
#
#   build_qt.sh PREFIX
set -euo pipefail
prefix=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-qt-wasm.XXXXXX")
# A failed build is kept for a look at what failed.
trap 'if [ $? -eq 0 ]; then rm -rf "$work"; else echo "Qt build kept in $work" >&2; fi' EXIT
src=$(bash "$here/../qt_source.sh" "$work")

# Qt looks for an Emscripten SDK, here and when it builds a program: a config naming its root,
# with emcc inside; PREFIX/emsdk is one for Debian's emcc. That emcc runs with Debian's python
# and node, whatever else is first on PATH; node finds Debian's modules only when told where.
mkdir -p "$prefix/emsdk/emscripten"
ln -sfn "$(command -v emcc)" "$prefix/emsdk/emscripten/emcc"
echo "EMSCRIPTEN_ROOT = 'emscripten'" > "$prefix/emsdk/.emscripten"
export EMSDK="$prefix/emsdk" NODE_PATH=/usr/share/nodejs EMSDK_PYTHON=/usr/bin/python3

# Changes to Debian's source: the widgets build without the menus, tool bars and the like left
# out (qt6-base-features.patch, shared with Windows); the platform plugin keeps only the small
# default font of the three it carries in every page (the program brings its own), and four wasm
# sources get the includes that Qt's precompiled headers, off for wasm, gave them
# (qt6-base-wasm.patch).
patch -s -p1 -d "$src" < "$here/../qt6-base-features.patch"
patch -s -p1 -d "$src" < "$here/qt6-base-wasm.patch"

# Everything the program does not use is left out: it only makes the page larger and slower.
# The page draws in Qt's Fusion style, which needs no Windows style (Windows keeps it: its
# Vista style is built on it).
unused=($(grep -v '^#' "$here/../qt_unused_features.txt") style-windows)
mkdir -p "$work/build"
cd "$work/build"
"$src/configure" -prefix "$prefix" -release -static -optimize-size \
    -platform wasm-emscripten -qt-host-path /usr -device-option QT_EMSCRIPTEN_ASYNCIFY=1 \
    -nomake tests -nomake examples -no-dbus -no-icu -no-fontconfig -no-glib -qt-zlib -qt-pcre \
    -qt-libpng -no-libjpeg -no-gif -no-ico -qt-harfbuzz -qt-freetype \
    "${unused[@]/#/-no-feature-}" -- -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake > "$work/configure.log" 2>&1 \
    || { tail -n 40 "$work/configure.log"; exit 1; }
grep -i -A3 '^WARNING\|^ERROR' "$work/configure.log" >&2 || true

# Only the modules the program links, the bundled libraries they use and the wasm platform
# plugin (which draws through OpenGL); each folder is built and installed on its own, since
# the top-level install wants every target.
dirs=(src/corelib src/gui src/widgets src/opengl src/plugins/platforms/wasm)
for dir in src/3rdparty/*/; do
    [ -f "$dir/cmake_install.cmake" ] && dirs+=("${dir%/}")
done
ninja -k 0 "${dirs[@]/%//all}"
for dir in . src src/3rdparty src/plugins src/plugins/platforms "${dirs[@]}"; do
    cmake -DCMAKE_INSTALL_LOCAL_ONLY=ON -P "$dir/cmake_install.cmake" > /dev/null
done
echo "Qt $(dpkg-query -W -f='${Version}' qt6-base-dev) for WebAssembly installed in $prefix"
