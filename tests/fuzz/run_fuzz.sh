#!/bin/sh
# Builds the Pellund fuzzer with clang and runs it for a bounded time.
#
#   tests/fuzz/run_fuzz.sh [seconds]        (default 60)
#
# OSTREL_FUZZ_DIR picks the build folder (default: build-fuzz at the top of the tree).
# Exits non-zero when the fuzzer finds a crash or the build fails.
set -eu

seconds=${1:-60}
case $seconds in
    ''|*[!0-9]*) echo "usage: $0 [seconds]" >&2; exit 2 ;;
esac

root=$(cd "$(dirname "$0")/../.." && pwd)
out=${OSTREL_FUZZ_DIR:-$root/build-fuzz}
mkdir -p "$out/seeds" "$out/corpus" "$out/artifacts"
out=$(cd "$out" && pwd)

${FUZZ_CC:-clang} -g -O1 -Wall -Wextra \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I "$root/conversion" \
    "$root/conversion/pellund.c" "$root/conversion/pellund_rates.c" "$root/tests/fuzz/fuzz_pellund.c" \
    -o "$out/fuzz_pellund"

# Seeds: four flag bytes (little-endian) and an entry text.
seed() {
    name=$1 flags=$2 text=$3
    { printf "$flags"; printf '%s' "$text"; } > "$out/seeds/$name"
}
seed ndf-calc   '\002\000\003\000' ' 05'
seed ndf-digits '\002\000\003\000' ' 1234567'
seed ndf-eight  '\002\000\000\000' '12345678'
seed film-marks '\001\000\001\000' '00:00:01:05'
seed df-skip    '\004\000\003\000' '00:01:00;00'
seed df-neg     '\004\000\002\000' '-19904:00:42;20'
seed pal-groups '\010\000\000\000' '1:2:3:4:5'
seed t2398-long '\200\000\003\000' '9999999999999999999999999999999999999999'
seed unknown    '\000\000\003\000' '12:34'
{ printf '\002\000\003\000123'; head -c 32 /dev/zero; } > "$out/seeds/ndf-nuls"

log=$out/fuzz.log
status=0
"$out/fuzz_pellund" -max_total_time="$seconds" -max_len=256 \
    -artifact_prefix="$out/artifacts/" "$out/corpus" "$out/seeds" > "$log" 2>&1 || status=$?

tail -n 20 "$log"
runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log" | tail -n 1)
if [ "$status" -ne 0 ] || [ -z "$runs" ]; then
    echo "fuzzing failed (exit $status); log: $log, inputs: $out/artifacts" >&2
    [ "$status" -ne 0 ] || status=1
    exit "$status"
fi
echo "executions: $runs in $seconds s"
