#!/usr/bin/env bash
# The build for Windows or for browsers made again from a copy of the source in another folder,
# later, under another time zone and umask, with the same Qt: its zip (and installer) must be
# the same bytes.
#
#   check_reproducible.sh windows|web BUILD_DIR     (the folder with Ostrel-*.zip)
set -uo pipefail
mode=$1
build=$(cd "$2" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-again.XXXXXX")
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT

mkdir "$work/source"
git -C "$root" ls-files -co --exclude-standard -z | (cd "$root" && tar --null -T - -cf -) |
    tar -x -C "$work/source"
(umask 077 && TZ=Pacific/Chatham bash "$work/source/packaging/build.sh" "$mode") >"$work/build.log" 2>&1 ||
    { tail -n 20 "$work/build.log"; echo "0 passed, 1 failed"; exit 1; }

. "$root/tests/windows/checks.sh"
same() { # file of the first build
    local second
    second=$work/source/build-$mode/$(basename "$1")
    cmp "$1" "$second" && return 0
    [[ $1 == *.zip ]] && diff <(zipinfo -l "$1") <(zipinfo -l "$second") | head -n 10
    [ "$mode" = web ] && diff -rq "$build/site" "$work/source/build-web/site" | head -n 10
    return 1
}
kinds=(zip)
[ "$mode" = windows ] && kinds+=(msi)
for kind in "${kinds[@]}"; do
    for first in "$build"/Ostrel-*."$kind"; do
        check "$(basename "$first") the same" same "$first"
    done
done
checks_end
