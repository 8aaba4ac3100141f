#!/usr/bin/env bash
# Builds the Debian package from a build folder, checks what it holds and what it pulls in,
# then unpacks it and starts the unpacked program through its bin/ link, which must load the
# conversion library from its own private folder.
set -euo pipefail
build=$1
cd "$build"
cpack -G DEB >/dev/null
deb=$(ls -t ostrel_*_*.deb | head -n 1)
echo "package: $deb"

fail() { echo "FAIL: $*"; exit 1; }
contents=$(dpkg-deb -c "$deb" | awk '{print $6, $7, $8}' | sed 's/ *$//')
for path in ./usr/lib/ostrel/ostrel ./usr/lib/ostrel/libPellund.so \
            ./usr/share/applications/ostrel.desktop; do
    grep -q "^$path\$" <<<"$contents" || fail "missing $path"
done
grep -q '^./usr/bin/ostrel -> ../lib/ostrel/ostrel$' <<<"$contents" || fail "missing bin/ostrel link"
for size in 16 32 48 64 128 256; do
    grep -q "^./usr/share/icons/hicolor/${size}x${size}/apps/ostrel.png\$" <<<"$contents" \
        || fail "missing ${size}x${size} icon"
done
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6gui6 libqt6core6; do
    grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done

root=$(mktemp -d)
trap 'kill "${pid:-}" 2>/dev/null || true; rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root/usr/share/applications/ostrel.desktop"
fi
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$root "$root/usr/bin/ostrel" &
pid=$!
for _ in $(seq 50); do
    grep -q "$root/usr/lib/ostrel/libPellund.so" "/proc/$pid/maps" 2>/dev/null && break
    sleep 0.1
done
grep -q "$root/usr/lib/ostrel/libPellund.so" "/proc/$pid/maps" \
    || fail "the unpacked program did not load its library"
echo "1 passed, 0 failed"
