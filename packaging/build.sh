#!/usr/bin/env bash
# Installs what is missing (Debian 12 or 13), builds, then starts the calculator or runs every test.
#   bash packaging/build.sh run       build and start the calculator
#   bash packaging/build.sh test      build and run all tests, also under ASan + UBSan, and fuzz;
#                                     then build for Windows and run its tests under Wine, and
#                                     for browsers, with its tests in headless Chromium
#   bash packaging/build.sh install   build the Debian package and install it with apt (reinstalled
#                                     at an unchanged version)
#   bash packaging/build.sh windows   cross-build for Windows: build-windows/Ostrel-<version>-win64.zip
#                                     and .msi (the first run also builds Qt for Windows, once, into
#                                     a cache); signed when OSTREL_SIGN_PKCS12 names a certificate
#                                     (and OSTREL_SIGN_PASSWORD_FILE a file with its password)
#   bash packaging/build.sh web       build for browsers: the page in build-web/site and
#                                     build-web/Ostrel-<version>-web.zip (the first run also builds
#                                     Qt for WebAssembly, once, into a cache)
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:-run}

run_packages=(cmake ninja-build g++ pkg-config qt6-base-dev libxcb1-dev libfontconfig-dev fonts-liberation2 scdoc)
test_packages=(libavutil-dev libltc-dev libbenchmark-dev clang libclang-rt-14-dev xvfb xauth xclip
               x11-apps x11-utils libxtst-dev imagemagick dpkg-dev file dbus-daemon at-spi2-core
               openbox sway xwayland wl-clipboard qt6-wayland libwayland-dev libxkbcommon-dev
               lintian appstream desktop-file-utils mmdebstrap devscripts git jq x11-xserver-utils)
package_packages=(dpkg-dev file)
windows_packages=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
                  wine64 wine fonts-wine zip dpkg-dev groff-base wixl msitools faketime
                  osslsigncode)
windows_test_packages=(unzip python3-pefile openssl)
web_packages=(emscripten node-acorn patch zip)
web_test_packages=(chromium unzip)

as_root() { # command...: through sudo when not root
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Says what apt will install for the package, how much, and how: reinstalled at an unchanged
# version too, so a rebuilt program always reaches the system.
install_package() { # deb
    local deb=$1 plan count kib=0 name version size
    plan=$(apt-get install -s --reinstall "$deb" | sed -n 's/^Inst \([^ ]*\) .*(\([^ ]*\) .*/\1 \2/p')
    count=$(grep -c . <<<"$plan")
    while read -r name version; do
        if [ "$name" = ostrel ]; then
            size=$(dpkg-deb -f "$deb" Installed-Size)
        else
            size=$(apt-cache show "$name=$version" | sed -n 's/^Installed-Size: //p' | head -n 1)
        fi
        kib=$((kib + ${size:-0}))
    done <<<"$plan"
    echo "Installing $(basename "$deb") with apt: $count package(s), $((kib / 1024)) MiB once installed:"
    echo "  $(cut -d ' ' -f 1 <<<"$plan" | tr '\n' ' ')"
    [ "$(id -u)" -eq 0 ] || echo "You are not root, so this uses sudo."
    as_root apt-get install -y --reinstall "$deb"
}

build() { # folder, extra cmake arguments...
    local dir=$1; shift
    cmake -S "$here" -B "$here/$dir" -G Ninja "$@"
    cmake --build "$here/$dir" -j"$(nproc)"
}

# A cached Qt's folder is named by its version, its toolchain and a digest of the files that
# say how it is built: a changed recipe builds Qt anew instead of reusing one built otherwise.
qt_folder() { # name, recipe files...
    local name=$1; shift
    echo "${OSTREL_QT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/ostrel}/qt-$name-$(cat "$@" | sha256sum | cut -c 1-8)"
}
qt_recipe=("$here/packaging/qt_source.sh" "$here/packaging/qt_unused_features.txt"
           "$here/packaging/qt6-base-features.patch")

# Qt for Windows, built once for each Qt version, toolchain and recipe, and kept outside the tree.
windows_qt() {
    local qt_version gcc_version
    qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev | sed 's/[+~].*//')
    gcc_version=$(x86_64-w64-mingw32-gcc-posix -dumpversion)
    qt_folder "$qt_version-x86_64-w64-mingw32-gcc$gcc_version" "${qt_recipe[@]}" \
        "$here/packaging/windows/build_qt.sh" "$here/packaging/windows/mingw-w64-x86_64.cmake"
}

# Builds Qt into the cache folder unless a finished build is there; a build cut short is redone.
cached_qt() { # folder, target's name, build script
    local qt=$1 name=$2 script=$3
    [ -f "$qt/.complete" ] && return 0
    echo "Building Qt for $name into $qt, once (a quarter to half an hour on two cores)"
    rm -rf "$qt"
    local start=$SECONDS
    as_root bash "$script" "$qt"
    touch "$qt/.complete"
    echo "Qt for $name built in $((SECONDS - start)) s"
}

build_windows() {
    local qt
    qt=$(windows_qt)
    cached_qt "$qt" Windows "$here/packaging/windows/build_qt.sh"
    build build-windows -DCMAKE_BUILD_TYPE=Release -DOSTREL_BENCH=OFF \
        -DCMAKE_TOOLCHAIN_FILE="$here/packaging/windows/mingw-w64-x86_64.cmake" \
        -DOSTREL_WINDOWS_QT="$qt" -DCMAKE_PREFIX_PATH="$qt" -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    bash "$here/packaging/windows/package.sh" "$here/build-windows"
}

# Qt for WebAssembly, likewise built once for each Qt and Emscripten version and recipe.
web_qt() {
    local qt_version em_version
    qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev | sed 's/[+~].*//')
    em_version=$(emcc --version | sed -n '1s/.* \([0-9][0-9.]*\) .*/\1/p')
    qt_folder "$qt_version-wasm-emscripten$em_version" "${qt_recipe[@]}" \
        "$here/packaging/web/build_qt.sh" "$here/packaging/web/qt6-base-wasm.patch"
}

# The page, in build-web/site and zipped; its icons come from a desktop build of the icon maker.
build_web() {
    local qt
    qt=$(web_qt)
    cached_qt "$qt" WebAssembly "$here/packaging/web/build_qt.sh"
    cmake -S "$here" -B "$here/build-web/icons" -G Ninja -DBUILD_TESTING=OFF -DOSTREL_BENCH=OFF
    cmake --build "$here/build-web/icons" --target ostrel_hicolor_icons
    build build-web -DCMAKE_BUILD_TYPE=MinSizeRel \
        -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    bash "$here/packaging/web/package.sh" "$here/build-web" "$here/build-web/icons/packaging/icons/hicolor"
}

case "$mode" in
run)
    install_missing "${run_packages[@]}"
    build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
    exec "$here/build/bin/ostrel"
    ;;
test)
    install_missing "${run_packages[@]}" "${test_packages[@]}" "${windows_packages[@]}" \
        "${windows_test_packages[@]}"
    build build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo
    (cd "$here/build-test" && ctest --output-on-failure)
    build build-asan -DCMAKE_BUILD_TYPE=Debug -DOSTREL_SANITIZE=ON
    (cd "$here/build-asan" && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure)
    OSTREL_FUZZ_DIR="$here/build-fuzz" bash "$here/tests/fuzz/run_fuzz.sh" "${FUZZ_SECONDS:-60}"
    build_windows
    bash "$here/tests/windows/run_windows_tests.sh" "$here/build-test" "$here/build-windows"
    install_missing "${web_packages[@]}" "${web_test_packages[@]}"
    command -v npm >/dev/null || install_missing nodejs npm
    build_web
    bash "$here/tests/web/run_web_tests.sh" "$here/build-web/site"
    bash "$here/tests/check_reproducible.sh" web "$here/build-web"
    ;;
windows)
    install_missing "${run_packages[@]}" "${windows_packages[@]}"
    build_windows
    ;;
install)
    install_missing "${run_packages[@]}" "${package_packages[@]}"
    build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
    (cd "$here/build" && rm -f ostrel_*.deb && cpack -G DEB)
    install_package "$(ls "$here"/build/ostrel_*_*.deb)"
    ;;
web)
    install_missing "${run_packages[@]}" "${web_packages[@]}"
    build_web
    ;;
*)
    echo "usage: $0 run|test|install|windows|web" >&2
    exit 2
    ;;
esac
