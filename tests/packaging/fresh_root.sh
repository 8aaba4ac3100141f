#!/usr/bin/env bash
# Installs the Debian package with apt into a fresh Debian 12 root made from this machine's
# apt sources, starts /usr/bin/ostrel there on a private Xvfb, and checks that its window
# maps and that it loaded the conversion library from /usr/lib/ostrel. This shows that the
# package's dependencies are complete on a system that has nothing else installed.
#   fresh_root.sh BUILD_FOLDER            the whole test (needs root)
#   fresh_root.sh --inside ROOT DISPLAY   run by mmdebstrap once the package is installed
set -euo pipefail
title="Quorvane Time Code Calculator"
fail() { echo "FAIL: $*"; exit 1; }

if [ "$1" = --inside ]; then
    root=$2 display=$3
    mkdir -p -m 700 "$root/run/ostrel-test"
    # Xvfb's abstract socket is reachable from the chroot, which shares the network namespace.
    chroot "$root" env DISPLAY="$display" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=/run/ostrel-test \
        /usr/bin/ostrel > "$root/run/ostrel-test/log" 2>&1 &
    pid=$!
    trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true' EXIT
    for _ in $(seq 100); do
        xwininfo -display "$display" -name "$title" 2>/dev/null | grep -q 'IsViewable' && break
        sleep 0.1
    done
    xwininfo -display "$display" -name "$title" 2>/dev/null | grep -q 'IsViewable' \
        || fail "the window did not map: $(cat "$root/run/ostrel-test/log")"
    # Read from inside, so the paths are those the program saw.
    chroot "$root" grep -q ' /usr/lib/ostrel/libPellund.so$' "/proc/$pid/maps" \
        || fail "the program did not load /usr/lib/ostrel/libPellund.so"
    # The desktop entry's file name is not the program's, so shells match the window by class.
    class=$(sed -n 's/^StartupWMClass=//p' "$root"/usr/share/applications/*.desktop)
    xprop -display "$display" -name "$title" WM_CLASS | grep -qF "\"$class\"" \
        || fail "the window's class is not the desktop entry's StartupWMClass '$class'"
    tc=$(chroot "$root" /usr/bin/ostrel-tc --to frames '01:00:00;00') || fail "ostrel-tc did not run"
    [ "$tc" = 107892 ] || fail "ostrel-tc gave $tc frames for an hour of drop frame"
    echo "window mapped with class $class; library loaded from /usr/lib/ostrel"
    exit 0
fi

[ "$(id -u)" -eq 0 ] || { echo "SKIP: mmdebstrap and chroot need root"; exit 77; }
script=$(cd "$(dirname "$0")" && pwd)/$(basename "$0")
deb=$(ls "$1"/ostrel_*_*.deb)
sources=()
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -s "$f" ] && sources+=("$f")
done
[ ${#sources[@]} -gt 0 ] || fail "this machine has no apt sources"

xvfb_out=$(mktemp)
Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp > "$xvfb_out" 2>/dev/null &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; rm -f "$xvfb_out"' EXIT
for _ in $(seq 100); do [ -s "$xvfb_out" ] && break; sleep 0.1; done
[ -s "$xvfb_out" ] || fail "Xvfb gave no display number"
display=:$(head -n 1 "$xvfb_out")

start=$SECONDS
mmdebstrap --variant=apt --quiet \
    --customize-hook="copy-in '$deb' /tmp" \
    --customize-hook="chroot \"\$1\" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q /tmp/$(basename "$deb")" \
    --customize-hook="bash '$script' --inside \"\$1\" '$display'" \
    bookworm /dev/null "${sources[@]}"
echo "fresh root made, package installed and checked in $((SECONDS - start)) s"
echo "1 passed, 0 failed"
