#!/usr/bin/env bash
# Builds the Debian packages twice from copies of this tree in two folders of different
# names and depths, one after the other, so the clock, the folders and the files' times all
# differ; both builds must give the same bytes.
#   reproducible.sh SOURCE_FOLDER
set -euo pipefail
source_dir=$1
fail() { echo "FAIL: $*"; exit 1; }
work=$(mktemp -d /tmp/ostrel-reproducible.XXXXXX)
trap 'rm -rf "$work"' EXIT

# The tree's files as they are, as a fresh copy would have them.
copy() { # folder
    mkdir -p "$1"
    (cd "$source_dir" && git ls-files -z --cached --others --exclude-standard \
        | xargs -0 sh -c 'for f; do [ -e "$f" ] && printf "%s\0" "$f"; done' _ \
        | tar -cf - --null -T -) | tar -C "$1" -xf - --touch
}
build() { # folder
    cmake -S "$1" -B "$1/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
        -DOSTREL_BENCH=OFF > "$1.log" 2>&1 || { cat "$1.log"; fail "configure in $1"; }
    cmake --build "$1/build" >> "$1.log" 2>&1 || { tail -n 30 "$1.log"; fail "build in $1"; }
    (cd "$1/build" && cpack -G DEB >> "$1.log" 2>&1) || { tail -n 30 "$1.log"; fail "cpack in $1"; }
}
first=$work/a
second=$work/second-folder/of/another/depth
copy "$first"
build "$first"
sleep 2
copy "$second"
build "$second"

for package in ostrel_*_*.deb ostrel-dbgsym_*_*.ddeb; do
    mapfile -t made < <(cd "$first/build" && ls $package)
    [ ${#made[@]} -eq 1 ] || fail "no single $package in $first/build"
    name=${made[0]}
    if ! cmp -s "$first/build/$name" "$second/build/$name"; then
        for dir in "$first" "$second"; do
            mkdir -p "$dir/unpacked" && dpkg-deb -R "$dir/build/$name" "$dir/unpacked/$name"
        done
        diff -r "$first/unpacked/$name" "$second/unpacked/$name" | head -n 20 || true
        fail "$name differs between the two builds"
    fi
    echo "$name: $(sha256sum < "$first/build/$name" | cut -c1-16) in both builds"
done
echo "1 passed, 0 failed"
