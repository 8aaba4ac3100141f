#!/usr/bin/env bash
# Every Windows check, on the zip as a user unpacks it and the installer as a studio deploys
# it, under Wine on this machine: version information and hardening of the binaries,
# ostrel-tc.exe against the Linux build, Pellund.dll against the Linux library, the calculator
# driven by X key and mouse events, the installer's life from install to removal, signing, and
# a second build that must give the same bytes.
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
# One run of a part: its status, its closing line in $line, its log in $log.
run_part() { # name, command...
    log=$work/$1.log
    shift
    "$@" > "$log" 2>&1
    local status=$?
    line=$(grep -E '^[0-9]+ passed, [0-9]+ failed' "$log" | tail -n 1)
    [ "$status" -eq 0 ] && [ -n "$line" ]
}

show_failure() {
    grep -E -A 6 '^FAIL' "$log" | head -n 80
    tail -n 15 "$log"
}

# Wine now and then loses a starting program's output (about one start in a thousand, seen
# only under load), so a failed part runs once more; its first failure is shown either way.
part() { # name, command...
    local start=$SECONDS
    if ! run_part "$@"; then
        echo "$1: failed at first (${line:-no result}), run again:"
        show_failure
        run_part "$@" || { echo "$1: ${line:-no result}"; show_failure; failed=$((failed + 1)); return; }
    fi
    echo "$1: $line ($((SECONDS - start)) s)"
    passed=$((passed + 1))
}

part binaries /usr/bin/python3 "$here/check_pe_files.py" "$app"
part ostrel-tc bash "$here/check_ostrel_tc.sh" "$linux" "$app"
part pellund-dll bash "$here/check_pellund_dll.sh" "$linux/bin/libPellund.so" "$app"
part calculator bash "$here/check_calculator.sh" "$linux" "$app"
part installer bash "$here/check_msi.sh" "$windows" "$app"
part signing bash "$here/check_signing.sh" "$windows"
part reproducible bash "$here/../check_reproducible.sh" windows "$windows"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
