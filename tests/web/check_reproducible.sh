#!/usr/bin/env bash
# The page built again from a copy of the source in another folder, under another time zone and
# umask, with the same Qt: its zip must be the same bytes.
#
#   check_reproducible.sh WEB_BUILD_DIR      (the folder with Ostrel-*-web.zip)
set -uo pipefail
web=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-web-again.XXXXXX")
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT

mkdir "$work/source"
git -C "$root" ls-files -co --exclude-standard -z | (cd "$root" && tar --null -T - -cf -) |
    tar -x -C "$work/source"
(umask 077 && TZ=Pacific/Chatham bash "$work/source/packaging/build.sh" web) >"$work/build.log" 2>&1 ||
    { tail -n 20 "$work/build.log"; echo "0 passed, 1 failed"; exit 1; }

. "$root/tests/windows/checks.sh"
same() { # the first build's zip
    local second
    second=$work/source/build-web/$(basename "$1")
    cmp "$1" "$second" && return 0
    diff <(zipinfo -l "$1") <(zipinfo -l "$second") | head -n 10
    diff -rq "$web/site" "$work/source/build-web/site" | head -n 10
    return 1
}
for first in "$web"/Ostrel-*-web.zip; do
    check "$(basename "$first") the same" same "$first"
done
checks_end
