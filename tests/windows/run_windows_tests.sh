#!/usr/bin/env bash
# Every Windows check, on the zip as a user unpacks it, under Wine on this machine:
# version information, ostrel-tc.exe against the Linux build, Pellund.dll against the Linux
# library, and the calculator driven by X key and mouse events.
#
#   run_windows_tests.sh LINUX_BUILD_DIR WINDOWS_BUILD_DIR
set -uo pipefail
linux=$(cd "$1" && pwd)
windows=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
zip=$(ls "$windows"/Ostrel-*-win64.zip)
work=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-windows.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Unpacked into a folder of its own: the program must run from wherever it lies.
unzip -q "$zip" -d "$work"
app=$(ls -d "$work"/Ostrel-*-win64)
cp "$windows/bin/pellund_calls.exe" "$app/"

passed=0 failed=0
part() { # name, command...: one part, its own closing line counted
    local name=$1 log=$work/$1.log start=$SECONDS
    shift
    "$@" > "$log" 2>&1
    local status=$? line
    line=$(grep -E '^[0-9]+ passed, [0-9]+ failed' "$log" | tail -n 1)
    echo "$name: ${line:-no result} ($((SECONDS - start)) s)"
    if [ "$status" -ne 0 ] || [ -z "$line" ]; then
        tail -n 30 "$log"
        failed=$((failed + 1))
    else
        passed=$((passed + 1))
    fi
}

part version-information /usr/bin/python3 "$here/check_version_info.py" "$app"
part ostrel-tc bash "$here/check_ostrel_tc.sh" "$linux" "$app"
part pellund-dll bash "$here/check_pellund_dll.sh" "$linux/bin/libPellund.so" "$app"
part calculator bash "$here/check_calculator.sh" "$linux" "$app"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
