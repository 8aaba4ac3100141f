#!/usr/bin/env bash
# Gathers the page from a web build: the program, Qt's loader, the page's own files, the icons
# made by a desktop build, the licences and the recipe of the Qt inside. Every file gets the
# release's time and fixed modes, so that the same build gives the same bytes.
#
#   stage.sh BUILD_DIR ICON_DIR   ->  BUILD_DIR/site
set -euo pipefail
build=$(cd "$1" && pwd)
icons=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source=$(cd "$here/../.." && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
epoch=$(cat "$build/source_date_epoch")
site=$build/site
rm -rf "$site"
mkdir -p "$site/icons" "$site/licences"

cp "$build/bin/ostrel.wasm" "$build/bin/ostrel.js" "$build/bin/qtloader.js" "$site/"
patch --quiet --no-backup-if-mismatch "$site/qtloader.js" "$here/qtloader.patch"
cp "$here"/site/*.html "$here"/site/*.css "$here"/site/*.js "$here"/site/*.webmanifest "$site/"
for size in 16 32 48 64 128 256; do
    cp "$icons/${size}x${size}/apps/ostrel.png" "$site/icons/ostrel-$size.png"
done
cp "$icons/scalable/apps/ostrel.svg" "$site/icons/"

# The licences, and the recipe of the Qt that is linked in, so that it can be rebuilt changed.
cp /usr/share/common-licenses/LGPL-3 "$site/licences/LGPL-3.txt"
cp /usr/share/common-licenses/GPL-3 "$site/licences/GPL-3.txt"
for package in libqt6core6:qt6-base emscripten fonts-liberation2; do
    cp "/usr/share/doc/${package%%:*}/copyright" "$site/licences/${package##*:}-copyright.txt"
done
cp "$here/build_qt.sh" "$here/qt6-base-wasm.patch" "$here/qtloader.patch" "$here/../qt_source.sh" \
    "$here/../qt6-base-features.patch" "$here/../qt_unused_features.txt" "$site/licences/"

# What the pages name: versions, and the program's copyright and licence from Debian's file.
field() { # name: the value of that field of the copyright file's "Files: *" paragraph
    awk -v name="$1" 'BEGIN { RS = "" } /^Files: \*\n/ {
        n = split($0, lines, "\n")
        for (i = 1; i <= n; i++) {
            if (index(lines[i], name ": ") == 1) { value = substr(lines[i], length(name) + 3); on = 1 }
            else if (on && lines[i] ~ /^ /) value = value " " substr(lines[i], 2)
            else on = 0
        }
        print value; exit }' "$source/packaging/debian/copyright"
}
text() { # text: as HTML, and safe in a sed replacement
    sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g' -e 's/[&|\\]/\\&/g' <<<"$1"
}
copyright=$(text "$(field Copyright)")
licence=$(text "$(field License | sed 's/^[^ ]* //')")
address=$(text "$(sed -n 's/^Source: //p' "$source/packaging/debian/copyright")")
qt_debian=$(dpkg-query -W -f='${Version}' qt6-base-dev)
emscripten=$(emcc --version | sed -n '1s/.* \([0-9][0-9.]*\) .*/\1/p')
sed -i -e "s|@VERSION@|$version|g" -e "s|@COPYRIGHT@|$copyright|g" -e "s|@LICENSE@|$licence|g" \
    -e "s|@SOURCE@|$address|g" -e "s|@QT_VERSION@|${qt_debian%%+*}|g" \
    -e "s|@QT_DEBIAN@|$qt_debian|g" -e "s|@EMSCRIPTEN@|$emscripten|g" "$site"/*.html

# The service worker keeps every file; its cache is named after their contents.
files=$(cd "$site" && find . -type f ! -name sw.js | sed 's|^\./||' | LC_ALL=C sort)
digest=$(cd "$site" && sha256sum $files | sha256sum | cut -c 1-16)
list=$(printf "'./'"; printf ", '%s'" $files)
sed -i -e "s|@VERSION@|$version|" -e "s|@DIGEST@|$digest|" -e "s|@FILES@|$list|" "$site/sw.js"

# Modes as well as times go into the zip: the same whatever the builder's umask.
find "$site" -type d -exec chmod 755 {} +
find "$site" -type f -exec chmod 644 {} +
find "$site" -exec touch -h -d "@${epoch:-0}" {} +
echo "$site"
