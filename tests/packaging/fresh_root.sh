#!/usr/bin/env bash
# Installs the Debian package with apt, without its recommendations, into a fresh root of a
# Debian release made from this machine's mirror. There /usr/bin/ostrel must map its window
# on a private Xvfb with the desktop entry's class, load the conversion library from
# /usr/lib/ostrel, and map it on a headless sway with QT_QPA_PLATFORM=wayland. This shows the
# package's dependencies are complete on a system that has nothing else installed.
#   fresh_root.sh BUILD_FOLDER SUITE                 the whole test (needs root)
#   fresh_root.sh --inside ROOT DISPLAY WAYLAND_DIR  run by mmdebstrap once the package is in
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
title="Quorvane Time Code Calculator"
fail() { echo "FAIL: $*"; exit 1; }
. "$here/fresh_lib.sh"

on_x11() { # root display
    local root=$1 display=$2 pid class
    chroot "$root" env DISPLAY="$display" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=/run/ostrel-test \
        /usr/bin/ostrel > "$root/run/ostrel-test/x11.log" 2>&1 &
    pid=$!; started+=("$pid")
    window_maps "$display" "$title" 60 || fail "the window did not map: $(cat "$root/run/ostrel-test/x11.log")"
    # Read from inside, so the paths are those the program saw.
    chroot "$root" grep -q ' /usr/lib/ostrel/libPellund.so$' "/proc/$pid/maps" \
        || fail "the program did not load /usr/lib/ostrel/libPellund.so"
    # The desktop entry's file name is not the program's, so shells match the window by class.
    class=$(sed -n 's/^StartupWMClass=//p' "$root"/usr/share/applications/*.desktop)
    xprop -display "$display" -name "$title" WM_CLASS | grep -qF "\"$class\"" \
        || fail "the window's class is not the desktop entry's StartupWMClass '$class'"
    kill "$pid"; wait "$pid" 2>/dev/null || true
    echo "X11: window mapped with class $class; library loaded from /usr/lib/ostrel"
}

# The whole tree is read first: grep -q would stop reading as soon as it matched, and
# swaymsg, still writing, would end on SIGPIPE and fail the pipe.
has_window() {
    local tree
    tree=$(sway_tree) && grep -qF "\"name\": \"$title\"" <<<"$tree"
}

on_wayland() { # root, sway's runtime folder bound at /run/ostrel-wayland
    local root=$1 pid
    chroot "$root" env XDG_RUNTIME_DIR=/run/ostrel-wayland WAYLAND_DISPLAY=wayland-1 \
        QT_QPA_PLATFORM=wayland /usr/bin/ostrel > "$root/run/ostrel-test/wayland.log" 2>&1 &
    pid=$!; started+=("$pid")
    for _ in $(seq 600); do
        has_window && break
        sleep 0.1
    done
    has_window \
        || fail "no Wayland window: $(cat "$root/run/ostrel-test/wayland.log")"
    kill "$pid"; wait "$pid" 2>/dev/null || true
    echo "Wayland: window mapped"
}

if [ "$1" = --inside ]; then
    root=$2 display=$3 wayland=$4
    mkdir -p -m 700 "$root/run/ostrel-test" "$root/run/ostrel-wayland"
    mount --bind "$wayland/run" "$root/run/ostrel-wayland"
    # A program left running holds mmdebstrap's hook socket, and mmdebstrap would wait for it.
    started=()
    trap 'kill "${started[@]}" 2>/dev/null || true; umount "$root/run/ostrel-wayland"' EXIT
    . "$wayland/env"
    on_x11 "$root" "$display"
    on_wayland "$root"
    tc=$(chroot "$root" /usr/bin/ostrel-tc --to frames '01:00:00;00') || fail "ostrel-tc did not run"
    [ "$tc" = 107892 ] || fail "ostrel-tc gave $tc frames for an hour of drop frame"
    chroot "$root" dpkg-query -W -f='${Package} ${Version}\n' ostrel fonts-liberation2 qt6-wayland
    exit 0
fi

[ "$(id -u)" -eq 0 ] || { echo "SKIP: mmdebstrap and chroot need root"; exit 77; }
build=$1 suite=$2
deb=$(ls "$build"/ostrel_*_*.deb)
mapfile -t sources < <(suite_sources "$suite")

start_xvfb
wayland=$(mktemp -d /tmp/ostrel-fresh-wayland.XXXXXX)
. "$here/headless_sway.sh"
trap 'stop_sway; kill "$xvfb" 2>/dev/null || true; rm -rf "$wayland"' EXIT
start_sway "$wayland"

start=$SECONDS
mmdebstrap --variant=apt --quiet \
    --customize-hook="copy-in '$deb' /tmp" \
    --customize-hook="chroot \"\$1\" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends /tmp/$(basename "$deb")" \
    --customize-hook="bash '$here/fresh_root.sh' --inside \"\$1\" '$display' '$wayland'" \
    "$suite" /dev/null "${sources[@]}"
echo "fresh $suite root made, package installed and checked in $((SECONDS - start)) s"
echo "1 passed, 0 failed"
