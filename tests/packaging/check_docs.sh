#!/usr/bin/env bash
# Checks what the Debian package tells people and software centres: the manual pages (tbl
# declared, version and release date in the footer, the sections a reader looks for), the
# desktop entry, the AppStream data with its screenshot, the scalable icon, and the README.
#   check_docs.sh BUILD_FOLDER SOURCE_FOLDER
set -euo pipefail
build=$1 source=$2
fail() { echo "FAIL: $*"; exit 1; }
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
deb=$(ls "$build"/ostrel_*_*.deb)
dpkg-deb -x "$deb" "$root"
version=$(dpkg-deb -f "$deb" Version)
release_date=$(zcat "$root/usr/share/doc/ostrel/changelog.gz" | sed -n 's/^ -- .*>  //p' | head -n 1)
release_day=$(date -u -d "$release_date" +%F)

# The text of one section of a rendered page.
section() { # page heading
    MANWIDTH=80 man -l -P cat "$1" 2>/dev/null | col -b \
        | awk -v h="$2" '/^[A-Z]/ { on = ($0 == h); next } on'
}
for page in "$root"/usr/share/man/man1/*.1.gz; do
    name=$(basename "$page" .1.gz)
    if zcat "$page" | grep -q '^\.TS'; then
        [ "$(zcat "$page" | head -n 1)" = "'\\\" t" ] || fail "$name(1) has tables but no tbl line first"
    fi
    zcat "$page" | grep -qF ".TH \"$name\" \"1\" \"$release_day\" \"Ostrel $version\"" \
        || fail "$name(1)'s footer is not '$release_day' and 'Ostrel $version': $(zcat "$page" | grep '^\.TH')"
    groff=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [ -z "$groff" ] || fail "$name(1): $groff"
    [ -n "$(section "$page" 'EXIT STATUS')" ] || fail "$name(1) has no EXIT STATUS"
done
page=$root/usr/share/man/man1/ostrel.1.gz
section "$page" 'SEE ALSO' | grep -qF 'ostrel-tc(1)' || fail "ostrel(1) does not point to ostrel-tc(1)"
section "$page" ENVIRONMENT | grep -qx ' *WAYLAND_DISPLAY' || fail "ostrel(1) leaves out WAYLAND_DISPLAY"
section "$page" DESCRIPTION | grep -qw 'CE' || fail "ostrel(1) does not describe CE"
grep -qw 'CE' "$source/README.md" || fail "the README does not describe CE"

entry=$root/usr/share/applications/example.quorvane.ostrel.desktop
grep -qx 'StartupNotify=true' "$entry" || fail "the desktop entry lacks StartupNotify=true"

metainfo=$root/usr/share/metainfo/example.quorvane.ostrel.metainfo.xml
grep -q '<developer id="[^"]*">' "$metainfo" || fail "the AppStream data has no <developer id=...>"
! grep -q '<developer_name>' "$metainfo" || fail "the AppStream data uses the deprecated <developer_name>"
size=$(sed -n 's/.*<image type="source" width="\([0-9]*\)" height="\([0-9]*\)".*/\1x\2/p' "$metainfo")
[ "${size%x*}" -ge 620 ] || fail "the screenshot is only ${size%x*} pixels wide"
actual=$(identify -format '%wx%h' "$source/packaging/screenshot.png")
[ "$actual" = "$size" ] || fail "the AppStream data says $size, the screenshot is $actual"

svg=$root/usr/share/icons/hicolor/scalable/apps/ostrel.svg
[ -s "$svg" ] || fail "no scalable icon"
[ "$(head -c 4 "$svg")" = '<svg' ] && [ "$(tail -n 1 "$svg")" = '</svg>' ] || fail "the scalable icon is not SVG"
echo "1 passed, 0 failed"
