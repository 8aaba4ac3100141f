#!/usr/bin/env bash
# The Windows build made again from a copy of the source in another folder, later, under
# another time zone and umask, with the same Qt: its zip and installer must be the same bytes.
#
#   check_reproducible.sh WINDOWS_BUILD_DIR
set -uo pipefail
windows=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-again.XXXXXX")
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT

mkdir "$work/source"
git -C "$root" ls-files -co --exclude-standard -z | (cd "$root" && tar --null -T - -cf -) |
    tar -x -C "$work/source"
(umask 077 && TZ=Pacific/Chatham bash "$work/source/packaging/build.sh" windows) >"$work/build.log" 2>&1 ||
    { tail -n 20 "$work/build.log"; echo "0 passed, 1 failed"; exit 1; }

passed=0 failed=0
for first in "$windows"/Ostrel-*-win64.zip "$windows"/Ostrel-*-win64.msi; do
    second=$work/source/build-windows/$(basename "$first")
    if cmp "$first" "$second"; then
        passed=$((passed + 1)); echo "PASS $(basename "$first") the same"
    else
        failed=$((failed + 1)); echo "FAIL $(basename "$first") differs"
        [[ $first == *.zip ]] && diff <(zipinfo -l "$first") <(zipinfo -l "$second") | head -n 10
    fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
