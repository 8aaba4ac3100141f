#!/usr/bin/env bash
# Checks that the Windows conversion library gives the window what the Linux one gives, on
# every frame of a day at each standard and display option: pellund_calls hashes all the
# window's calls give, natively on the .so and under Wine on the DLL; their lines must agree.
#   check_pellund_dll.sh LINUX_LIBPELLUND_SO WINDOWS_DIR
# The native pellund_calls is the one beside the .so, as a build makes both in its bin folder,
# or $PELLUND_CALLS; WINDOWS_DIR holds pellund_calls.exe and Pellund.dll. Builds nothing.
# Wine runs in a prefix of its own, or in $PELLUND_WINEPREFIX, kept, to spare its set-up.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
so=$(realpath "$1") windows=$(realpath "$2")
native=${PELLUND_CALLS:-$(dirname "$so")/pellund_calls}
for f in "$native" "$windows/pellund_calls.exe" "$windows/Pellund.dll"; do
    [ -f "$f" ] || { echo "FAIL: no $f"; exit 2; }
done
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# Given its argument, lest it take this script's; Wine wants the prefix's folder to exist.
[ -z "${PELLUND_WINEPREFIX:-}" ] || mkdir -p "$PELLUND_WINEPREFIX"
. "$here/wine_env.sh" "${PELLUND_WINEPREFIX:-}"
trap 'wine_end; rm -rf "$out"' EXIT

start=$(date +%s)
"$native" "$so" >"$out/linux" || { echo "FAIL: pellund_calls exited $? on $so"; exit 2; }
echo "linux: $(($(date +%s) - start)) s"
# The DLL by its full Windows name: a Unix path means nothing to LoadLibraryW.
dll=$(win winepath -w "$windows/Pellund.dll" | tr -d '\r')
start=$(date +%s) status=0
win "$windows/pellund_calls.exe" "$dll" | tr -d '\r' >"$out/windows" || status=$?
echo "wine: $(($(date +%s) - start)) s"
[ "$status" = 0 ] || echo "FAIL: pellund_calls.exe exited $status"

mapfile -t linux <"$out/linux"
mapfile -t wine <"$out/windows"
passed=0 failed=0
lines=$((${#linux[@]} > ${#wine[@]} ? ${#linux[@]} : ${#wine[@]}))
for ((i = 0; i < lines; i++)); do
    if [ "${linux[i]:-}" = "${wine[i]:-}" ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: linux '${linux[i]:-}' windows '${wine[i]:-}'"
    fi
done
echo "$passed passed, $failed failed"
[ "$failed" = 0 ] && [ "$status" = 0 ] && [ "$passed" -gt 0 ]
