#!/usr/bin/env bash
# ostrel-tc.exe under Wine against the Linux build: the ostrel-tc test suite and the examples
# of the README and manual run on it, a million lines stream through it, and bytes that text
# mode would change (LF, Ctrl-Z) come out as on Linux.
#
#   check_ostrel_tc.sh LINUX_BUILD_DIR WINDOWS_DIR
#
# LINUX_BUILD_DIR holds bin/ostrel-tc and bin/tst_ostreltc; WINDOWS_DIR holds ostrel-tc.exe.
# Ends with "N passed, N failed"; exits non-zero when a check fails.
set -uo pipefail

[ $# -eq 2 ] || { echo "usage: check_ostrel_tc.sh LINUX_BUILD_DIR WINDOWS_DIR" >&2; exit 2; }
linux=$(cd "$1" && pwd)/bin
export OSTREL_TC_EXE
OSTREL_TC_EXE=$(cd "$2" && pwd)/ostrel-tc.exe
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
wrapper=$here/ostrel-tc-wine
for f in "$linux/ostrel-tc" "$linux/tst_ostreltc" "$OSTREL_TC_EXE"; do
    [ -f "$f" ] || { echo "check_ostrel_tc: $f missing" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-tc-wine.XXXXXX")
trap 'rm -rf "$work"' EXIT
started=$(date +%s%N)
. "$here/wine_env.sh" "" || exit 2
trap 'wine_end; rm -rf "$work"' EXIT
echo "Wine prefix ready in $(( ($(date +%s%N) - started) / 1000000 )) ms"

. "$here/checks.sh"

# Output, errors and status of both builds for the same arguments and input file; files, not
# /dev/null, which is very slow under Wine.
same_as_linux() { # name, input file, args...
    local name=$1 input=$2 build status t0 times=""
    shift 2
    for build in linux windows; do
        local program=$linux/ostrel-tc
        [ "$build" = linux ] || program=$wrapper
        status=0 t0=$(date +%s%N)
        "$program" "$@" < "$input" > "$work/$name.$build.out" 2> "$work/$name.$build.err" || status=$?
        echo "$status" > "$work/$name.$build.status"
        times+=" $build $(( ($(date +%s%N) - t0) / 1000000 )) ms"
    done
    echo "  $name:$times"
    local same=0 part
    for part in out err status; do
        if ! cmp "$work/$name.linux.$part" "$work/$name.windows.$part"; then
            same=1
            [ "$part" = out ] || diff "$work/$name.linux.$part" "$work/$name.windows.$part" | head -n 6
        fi
    done
    return "$same"
}

test_suite() {
    OSTREL_TC_UNDER_TEST=$wrapper "$linux/tst_ostreltc" > "$work/tst_ostreltc.log" 2>&1 && return 0
    grep -A 3 '^FAIL' "$work/tst_ostreltc.log" | head -n 40
    grep '^Totals' "$work/tst_ostreltc.log"
    return 1
}

examples() {
    mkdir -p "$work/bin"
    ln -s "$wrapper" "$work/bin/ostrel-tc"
    "$root/tests/cli/check_examples.sh" "$work/bin" "$root/README.md" "$root/packaging/man/ostrel-tc.1.scd"
}

# Lines "A + B" of 29.97 drop frame labels, A below 23 hours and B below one, none a label
# drop frame skips; the Linux build must read every one without error.
million_lines() {
    awk 'BEGIN {
        x = 20240607
        for (i = 0; i < 1000000; i++) {
            x = (x * 16807) % 2147483647; a = label(x % 2484000)
            x = (x * 16807) % 2147483647; b = label(x % 108000)
            print a " + " b
        }
    }
    function label(r,    ff, ss, mm, hh) {
        ff = r % 30; r = int(r / 30); ss = r % 60; r = int(r / 60); mm = r % 60; hh = int(r / 60)
        if (ss == 0 && mm % 10 != 0 && ff < 2) ff += 2
        return sprintf("%02d:%02d:%02d;%02d", hh, mm, ss, ff)
    }' > "$work/million.in"
    same_as_linux million "$work/million.in" --rate 29.97df || return 1
    [ "$(wc -l < "$work/million.linux.out")" -eq 1000000 ] && [ ! -s "$work/million.linux.err" ]
}

# Text mode would end the input at the Ctrl-Z and write CR LF for each LF.
ctrl_z_each() {
    printf 'clip\x1a 01:00:00;00 end\r\nnext 00:00:59;29\n\x1a\r\nlast 10:00:00;00 \x1a' > "$work/each.in"
    same_as_linux each "$work/each.in" --each --rate 29.97df --to-rate 25 || return 1
    printf 'clip\x1a 01:00:00:00 end\r\nnext 00:01:00:01\n\x1a\r\nlast 09:59:59:24 \x1a' \
        | cmp - "$work/each.linux.out"
}

ctrl_z_stream() {
    printf '1 + 1\n\x1a\r\n2 + 2\r\n\x1a' > "$work/stream.in"
    same_as_linux stream "$work/stream.in" --to frames || return 1
    printf '2\n4\n' | cmp - "$work/stream.linux.out"
}

check "ostrel-tc test suite" test_suite
check "README and manual examples" examples
check "1,000,000-line stream" million_lines
check "--each keeps Ctrl-Z, LF and CR LF" ctrl_z_each
check "stream reads on past a Ctrl-Z line" ctrl_z_stream
checks_end
