#!/bin/sh
# Builds the fuzzers with clang and runs each for a bounded time: the window's
# conversion calls, then ostrel-tc's expression reader with the rates API.
#
#   tests/fuzz/run_fuzz.sh [seconds]        (default 60, for each fuzzer)
#
# OSTREL_FUZZ_DIR picks the build folder (default: build-fuzz at the top of the tree).
# Exits non-zero when a fuzzer finds a crash or the build fails.
set -eu

seconds=${1:-60}
case $seconds in
    ''|*[!0-9]*) echo "usage: $0 [seconds]" >&2; exit 2 ;;
esac

root=$(cd "$(dirname "$0")/../.." && pwd)
out=${OSTREL_FUZZ_DIR:-$root/build-fuzz}
mkdir -p "$out"
out=$(cd "$out" && pwd)

build() { # name, sources...
    name=$1; shift
    mkdir -p "$out/$name/seeds" "$out/$name/corpus" "$out/$name/artifacts"
    ${FUZZ_CC:-clang} -g -O1 -Wall -Wextra \
        -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
        -I "$root/conversion" -I "$root/cli" "$@" -o "$out/$name/$name"
}

# A seed is a prefix of bytes (printf escapes) and a text.
seed() { # fuzzer, name, prefix, text
    { printf "$3"; printf '%s' "$4"; } > "$out/$1/seeds/$2"
}

start() { # name: the fuzzer runs in the background; its pid is kept for check
    dir=$out/$1
    "$dir/$1" -max_total_time="$seconds" -max_len=256 -artifact_prefix="$dir/artifacts/" \
        "$dir/corpus" "$dir/seeds" > "$dir/fuzz.log" 2>&1 &
    eval "pid_$1=\$!"
}

check() { # name: waits for the fuzzer and reports it
    dir=$out/$1 log=$out/$1/fuzz.log status=0
    eval "wait \$pid_$1" || status=$?
    tail -n 5 "$log"
    runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log" | tail -n 1)
    if [ "$status" -ne 0 ] || [ -z "$runs" ]; then
        echo "$1 failed (exit $status); log: $log, inputs: $dir/artifacts" >&2
        [ "$status" -ne 0 ] || status=1
        exit "$status"
    fi
    echo "$1: $runs executions in $seconds s"
}

build fuzz_pellund "$root/conversion/pellund.c" "$root/conversion/pellund_rates.c" "$root/conversion/pellund_read.c" \
    "$root/tests/fuzz/fuzz_pellund.c"
# Four flag bytes (little-endian) and an entry text.
seed fuzz_pellund ndf-calc   '\002\000\003\000' ' 05'
seed fuzz_pellund ndf-digits '\002\000\003\000' ' 1234567'
seed fuzz_pellund ndf-eight  '\002\000\000\000' '12345678'
seed fuzz_pellund film-marks '\001\000\001\000' '00:00:01:05'
seed fuzz_pellund df-skip    '\004\000\003\000' '00:01:00;00'
seed fuzz_pellund df-neg     '\004\000\002\000' '-19904:00:42;20'
seed fuzz_pellund pal-groups '\010\000\000\000' '1:2:3:4:5'
seed fuzz_pellund t2398-long '\200\000\003\000' '9999999999999999999999999999999999999999'
seed fuzz_pellund unknown    '\000\000\003\000' '12:34'
{ printf '\002\000\003\000123'; head -c 32 /dev/zero; } > "$out/fuzz_pellund/seeds/ndf-nuls"

cli="$root/cli"
# A small block and line limit, so short inputs cross block edges and overlong lines.
build fuzz_expr -DSTREAM_BLOCK=64 -DSTREAM_MAX_LINE=40 \
    "$root/conversion/pellund_rates.c" "$root/conversion/pellund_read.c" "$cli/expr.c" \
    "$cli/literal.c" "$cli/binary_stdio_posix.c" "$cli/byte_kind.c" "$cli/decimal.c" \
    "$cli/each.c" "$cli/edl.c" "$cli/edl_event.c" "$cli/edl_line.c" "$cli/edl_motion.c" \
    "$cli/options.c" "$cli/render.c" "$cli/stream.c" \
    "$root/tests/fuzz/fuzz_expr.c"
# A rate byte (index into the rate table, then 2997/100, 999999/1001 and 1/1; bit 7 for 16 mm
# feet), a mode byte (bits 0-2 --from, 5 and up none; bit 3 --align; bit 4 --each; bits 5-7
# --to), a list byte (bit 0 --edl, bit 1 --wrap, bit 2 --keep frames, bits 3-6 --to-rate) and text.
seed fuzz_expr df-sum      '\004\005\000' '01:00:00;00 + 10'
seed fuzz_expr df59-skip   '\012\015\000' '00:01:00;01 * (3 - 1)'
seed fuzz_expr df119       '\014\005\000' '-(00:00:00;119 / 7)'
seed fuzz_expr feet16      '\201\004\000' '112+08 - 45+39'
seed fuzz_expr real-time   '\002\005\000' '1:02:03.456789s + 12.5s'
seed fuzz_expr big         '\015\005\000' '999999999999 * 999999999999'
seed fuzz_expr nested      '\003\005\000' '((((((((((1))))))))))'
seed fuzz_expr utf8        '\000\005\000' '10 × 3 ÷ 2'
seed fuzz_expr from-tc     '\001\000\000' '01000000 / 2'
seed fuzz_expr from-secs   '\003\042\000' '-00:00:01.500 + 1:02.5'
seed fuzz_expr from-feet   '\016\003\000' '3 + 2+15'
seed fuzz_expr align       '\004\015\000' "$(printf '\357\273\2771 + 1\n# note\n\n2 *\n00:00:01;00\r\n(4)')"
seed fuzz_expr each        '\000\035\000' "$(printf '001  AX V C 01:00:00:00 01:00:05:12\r\n* A001.2.3\n00:00:00:45\n')"
seed fuzz_expr one-a-sec   '\020\000\000' '1:00:00:00 + 0100'
seed fuzz_expr each-rate   '\017\025\000' "$(printf 'TITLE: 1.2\n10:00:00:00 1234567890123456789012345678901234567890123\n')"
seed fuzz_expr edl         '\004\000\231' "$(printf 'FCM: NON-DROP FRAME\r\n001  A V D 030 01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:00\r\nM2   A 047.6 01:00:00:00\nFCM: DROP FRAME\n* 01:13:00:01 01;00;26;10.\n')"
seed fuzz_expr edl-pal     '\002\000\001' "$(printf 'FCM: DROP FRAME\n002  A V C 00:00:00:00 00:00:01:00 23:59:59:24 00:00:00:10\n')"
seed fuzz_expr factors     '\002\005\002' '-01:00:00:00 * 1.5 / 0.8 + 0.000000000001s'
seed fuzz_expr feet-factor '\002\005\000' '1+2 * 250 * 1.5 - (1.5)x2 / 1,5 + +1'
seed fuzz_expr edl-cr      '\003\000\035' "$(printf 'FCM: NON-DROP FRAME\r001  A V C 01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:00\rM2   A 029.87 01:00:00:00\nM2   A 000.0 MSTR I +00:00:00:10\r\n004  A V W001 030\r01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:00\r')"

# Each fuzzer runs on one core: side by side they take half the time of one after the other.
start fuzz_pellund
start fuzz_expr
check fuzz_pellund
check fuzz_expr
