#!/usr/bin/env bash
# Unpacks Debian's own qt6-base source, of the version installed for the host, into the folder
# given and prints the source folder. Adds a deb-src entry for Debian's archive when there is none.
#
#   qt_source.sh FOLDER
set -euo pipefail
work=$1
version=$(dpkg-query -W -f='${Version}' qt6-base-dev)

if ! apt-get source --print-uris "qt6-base=$version" 2>/dev/null | grep -q orig; then
    awk 'BEGIN { RS = ""; ORS = "\n\n" } /Types:[^\n]*deb/ && /URIs:[^\n]*debian/ {
            sub(/Types:[^\n]*/, "Types: deb-src"); print }' \
        /etc/apt/sources.list.d/*.sources > "$work/deb-src.sources" 2>/dev/null || true
    awk '$1 == "deb" && $2 ~ /debian/ { $1 = "deb-src"; print }' \
        /etc/apt/sources.list > "$work/deb-src.list" 2>/dev/null || true
    for f in "$work"/deb-src.*; do
        [ -s "$f" ] && install -m 644 "$f" "/etc/apt/sources.list.d/ostrel-$(basename "$f")"
    done
    apt-get update -qq >&2
fi
(cd "$work" && apt-get source -qq "qt6-base=$version" >/dev/null)
find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1
