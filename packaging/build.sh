#!/usr/bin/env bash
# Installs what is missing (Debian 12), builds, then starts the calculator or runs every test.
#   bash packaging/build.sh run       build and start the calculator
#   bash packaging/build.sh test      build and run all tests, also under ASan + UBSan, and fuzz
#   bash packaging/build.sh install   build the Debian package and install it with apt
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:-run}

run_packages=(cmake ninja-build g++ pkg-config qt6-base-dev libxcb1-dev libfontconfig-dev fonts-liberation2 scdoc)
test_packages=(libavutil-dev libltc-dev libbenchmark-dev clang libclang-rt-14-dev xvfb xauth xclip
               x11-apps x11-utils libxtst-dev imagemagick dpkg-dev file dbus-daemon at-spi2-core
               openbox sway xwayland wl-clipboard qt6-wayland libwayland-dev libxkbcommon-dev
               lintian appstream desktop-file-utils mmdebstrap)
package_packages=(dpkg-dev file)

install_missing() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() { # folder, extra cmake arguments...
    local dir=$1; shift
    cmake -S "$here" -B "$here/$dir" -G Ninja "$@"
    cmake --build "$here/$dir" -j"$(nproc)"
}

case "$mode" in
run)
    install_missing "${run_packages[@]}"
    build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
    exec "$here/build/bin/ostrel"
    ;;
test)
    install_missing "${run_packages[@]}" "${test_packages[@]}"
    build build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo
    (cd "$here/build-test" && ctest --output-on-failure)
    build build-asan -DCMAKE_BUILD_TYPE=Debug -DOSTREL_SANITIZE=ON
    (cd "$here/build-asan" && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure)
    OSTREL_FUZZ_DIR="$here/build-fuzz" bash "$here/tests/fuzz/run_fuzz.sh" "${FUZZ_SECONDS:-60}"
    ;;
install)
    install_missing "${run_packages[@]}" "${package_packages[@]}"
    build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
    (cd "$here/build" && rm -f ostrel_*.deb && cpack -G DEB)
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get install -y "$(ls "$here"/build/ostrel_*_*.deb)"
    ;;
*)
    echo "usage: $0 run|test|install" >&2
    exit 2
    ;;
esac
