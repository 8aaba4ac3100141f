#!/usr/bin/env bash
# Checks the Debian package made in a build folder: what it holds and pulls in, that lintian,
# desktop-file-validate and appstreamcli find nothing, that its versions agree; then unpacks
# it and starts the unpacked program through its bin/ link, which must load the conversion
# library from its own private folder.
set -euo pipefail
build=$1
cd "$build"
deb=$(ls ostrel_*_*.deb)
echo "package: $deb"

fail() { echo "FAIL: $*"; exit 1; }
contents=$(dpkg-deb -c "$deb" | awk '{print $6, $7, $8}' | sed 's/ *$//')
for path in ./usr/lib/ostrel/ostrel ./usr/lib/ostrel/libPellund.so \
            ./usr/share/applications/example.quorvane.ostrel.desktop \
            ./usr/share/metainfo/example.quorvane.ostrel.metainfo.xml \
            ./usr/share/man/man1/ostrel.1.gz ./usr/bin/ostrel-tc ./usr/share/man/man1/ostrel-tc.1.gz \
            ./usr/share/doc/ostrel/copyright ./usr/share/doc/ostrel/changelog.gz; do
    grep -q "^$path\$" <<<"$contents" || fail "missing $path"
done
grep -q '^./usr/bin/ostrel -> ../lib/ostrel/ostrel$' <<<"$contents" || fail "missing bin/ostrel link"
for size in 16 32 48 64 128 256; do
    grep -q "^./usr/share/icons/hicolor/${size}x${size}/apps/ostrel.png\$" <<<"$contents" \
        || fail "missing ${size}x${size} icon"
done
grep -q '^./usr/share/icons/hicolor/scalable/apps/ostrel.svg$' <<<"$contents" || fail "missing scalable icon"
# The labels clip in any other font, and without X the program runs on Wayland: both are
# needed, whether or not recommendations are installed.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6gui6 libqt6core6 fonts-liberation2 qt6-wayland; do
    grep -qE "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done

lintian --fail-on error,warning "$deb" ostrel-dbgsym_*.ddeb || fail "lintian"
# Pedantic and informational tags, each reviewed. The debug package's doc folder links to the
# main package's, which it depends on at the same version; lintian sees no source package
# that would show both come from one.
reviewed='cannot-check-whether-usr-share-doc-symlink-points-to-foreign-package'
tags=$(lintian --pedantic --display-info "$deb" ostrel-dbgsym_*.ddeb | sed -n 's/^[IPX]: [^ ]* [^ ]* \([^ ]*\).*/\1/p' | sort -u)
unreviewed=$(grep -v -x -E "$reviewed" <<<"$tags" || true)
[ -z "$unreviewed" ] || fail "lintian tags not yet reviewed: $unreviewed"

root=$(mktemp -d)
trap 'kill "${pid:-}" 2>/dev/null || true; rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
hints=$(desktop-file-validate "$root"/usr/share/applications/*.desktop 2>&1) \
    && [ -z "$hints" ] || fail "desktop-file-validate: $hints"
report=$(appstreamcli validate --no-net "$root"/usr/share/metainfo/*.xml 2>&1) \
    && ! grep -q '^ *[EW]:' <<<"$report" || fail "appstreamcli: $report"

# A software centre finds the menu entry through the id and the launchable.
id=example.quorvane.ostrel
metainfo=$root/usr/share/metainfo/$id.metainfo.xml
grep -qF "<id>$id</id>" "$metainfo" || fail "the AppStream id is not $id"
grep -qF "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" \
    || fail "the AppStream data does not launch $id.desktop"

version=$(dpkg-deb -f "$deb" Version)
zcat "$root/usr/share/doc/ostrel/changelog.gz" | head -n 1 | grep -qF "ostrel ($version)" \
    || fail "the changelog's last entry is not $version"
grep -m 1 '<release ' "$metainfo" | grep -qF "version=\"$version\"" \
    || fail "the AppStream data's last release is not $version"

QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$root "$root/usr/bin/ostrel" &
pid=$!
for _ in $(seq 50); do
    grep -q "$root/usr/lib/ostrel/libPellund.so" "/proc/$pid/maps" 2>/dev/null && break
    sleep 0.1
done
grep -q "$root/usr/lib/ostrel/libPellund.so" "/proc/$pid/maps" \
    || fail "the unpacked program did not load its library"
tc=$("$root/usr/bin/ostrel-tc" --rate 59.94df --to frames '00:10:00;00') || fail "ostrel-tc did not run"
[ "$tc" = 35964 ] || fail "ostrel-tc gave $tc for ten minutes at 59.94df"
echo "1 passed, 0 failed"
