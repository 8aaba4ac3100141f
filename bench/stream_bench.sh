#!/usr/bin/env bash
# Stream speed of ostrel-tc against a bare libavutil loop and node's smpte-timecode.
#
# Run from the source folder:
#   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
#     && cmake --build build-bench --target ostrel-tc bench_avutil_tc \
#     && bash bench/stream_bench.sh build-bench/bin
#
# Usage: stream_bench.sh BIN_DIR [LINES]   (LINES defaults to 1000000)
# All three get the same lines "A + B" of 29.97 drop frame labels; their outputs
# must agree line for line (exit 1 otherwise). The node peer is skipped with a
# message when node or npm is missing or the package cannot be installed.
# Then ostrel-tc --edl converts a list of LINES / 10 events, 29.97 to 25, on its own.
set -euo pipefail
export LC_ALL=C

SMPTE_TIMECODE_VERSION=1.3.6
RUNS=3

die() { echo "stream_bench: $*" >&2; exit 1; }

if [ $# -lt 1 ] || [ $# -gt 2 ]; then die "usage: stream_bench.sh BIN_DIR [LINES]"; fi
bin_dir=$(cd "$1" && pwd) || die "no folder $1"
lines=${2:-1000000}
[[ $lines =~ ^[1-9][0-9]*$ ]] || die "LINES must be a positive integer, not '$lines'"
build_dir=$(dirname "$bin_dir")
script_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

ostrel_tc=$bin_dir/ostrel-tc
avutil_loop=$bin_dir/bench_avutil_tc
[ -x "$ostrel_tc" ] || die "$ostrel_tc missing; build the target ostrel-tc"
[ -x "$avutil_loop" ] || die "$avutil_loop missing; build the target bench_avutil_tc (needs libavutil-dev)"

work=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-stream-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
input=$work/input.txt

# Node peer: install the pinned package into the build folder once.
have_node=0
npm_dir=$build_dir/npm
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    echo "Skipping the node peer: node or npm not found"
else
    pkg_json=$npm_dir/node_modules/smpte-timecode/package.json
    installed=
    if [ -f "$pkg_json" ]; then
        installed=$(node -p "require('$pkg_json').version" 2>/dev/null || true)
    fi
    if [ "$installed" != "$SMPTE_TIMECODE_VERSION" ]; then
        echo "Installing smpte-timecode@$SMPTE_TIMECODE_VERSION into $npm_dir"
        npm install --silent --no-audit --no-fund --prefix "$npm_dir" \
            "smpte-timecode@$SMPTE_TIMECODE_VERSION" >&2 || true
    fi
    if [ -f "$pkg_json" ]; then
        have_node=1
    else
        echo "Skipping the node peer: npm could not install smpte-timecode"
    fi
fi

# Deterministic input. awk's own rand() differs between awk implementations,
# so a Park-Miller generator (exact in doubles) keeps the lines the same everywhere.
# One draw per label: A below 23 h, B below 1 h, so sums stay under 24 h.
awk -v n="$lines" 'BEGIN {
    x = 20240607
    for (i = 0; i < n; i++) {
        x = (x * 16807) % 2147483647; a = label(x % 2484000)
        x = (x * 16807) % 2147483647; b = label(x % 108000)
        print a " + " b
    }
}
# r counts labels in HH:MM:SS;FF order (30 per second, no frames dropped);
# labels that drop frame skips are nudged to the next valid frame.
function label(r,    ff, ss, mm, hh) {
    ff = r % 30; r = int(r / 30)
    ss = r % 60; r = int(r / 60)
    mm = r % 60; hh = int(r / 60)
    if (ss == 0 && mm % 10 != 0 && ff < 2) ff += 2
    return sprintf("%02d:%02d:%02d;%02d", hh, mm, ss, ff)
}' > "$input"

# best_ns OUT CMD...: runs CMD RUNS times on the input, leaves the output in OUT
# and prints the fastest wall-clock time in nanoseconds.
best_ns() {
    local out=$1 best='' t0 t1 i
    shift
    for ((i = 0; i < RUNS; i++)); do
        t0=$(date +%s%N)
        "$@" < "$input" > "$out" || die "$* failed (exit $?)"
        t1=$(date +%s%N)
        if [ -z "$best" ] || [ $((t1 - t0)) -lt "$best" ]; then best=$((t1 - t0)); fi
    done
    echo "$best"
}

# check_same NAME_A FILE_A NAME_B FILE_B: exits 1 at the first line that differs.
check_same() {
    cmp -s "$2" "$4" && return 0
    local n
    n=$(awk -v f2="$4" '
        { if ((getline l2 < f2) <= 0 || $0 != l2) { print NR; found = 1; exit } }
        END { if (!found) print NR + 1 }' "$2")
    echo "MISMATCH between $1 and $3 at line $n:" >&2
    echo "  input: $(sed -n "${n}p" "$input")" >&2
    echo "  $1: $(sed -n "${n}p" "$2")" >&2
    echo "  $3: $(sed -n "${n}p" "$4")" >&2
    exit 1
}

ns_ostrel=$(best_ns "$work/ostrel.txt" "$ostrel_tc" --rate 29.97df)
ns_avutil=$(best_ns "$work/avutil.txt" "$avutil_loop")
got=$(wc -l < "$work/avutil.txt")
[ "$got" -eq "$lines" ] || die "bench_avutil_tc wrote $got lines for $lines"
check_same ostrel-tc "$work/ostrel.txt" bench_avutil_tc "$work/avutil.txt"
if [ "$have_node" = 1 ]; then
    ns_node=$(best_ns "$work/node.txt" env NODE_PATH="$npm_dir/node_modules" \
        node "$script_dir/smpte_timecode_peer.js")
    check_same ostrel-tc "$work/ostrel.txt" "node smpte-timecode" "$work/node.txt"
fi

# Figures: lines per second from the best run, ratios of those rates.
awk -v n="$lines" -v runs="$RUNS" -v o="$ns_ostrel" -v a="$ns_avutil" \
    -v j="${ns_node:-0}" -v have_node="$have_node" -v v="$SMPTE_TIMECODE_VERSION" 'BEGIN {
    printf "Stream benchmark: %d lines \"A + B\" at 29.97 drop frame, best of %d wall-clock runs\n", n, runs
    printf "  %-28s %12.0f lines/s  (%.3f s)\n", "ostrel-tc", n * 1e9 / o, o / 1e9
    printf "  %-28s %12.0f lines/s  (%.3f s)\n", "bench_avutil_tc (libavutil)", n * 1e9 / a, a / 1e9
    if (have_node) printf "  %-28s %12.0f lines/s  (%.3f s)\n", "node smpte-timecode " v, n * 1e9 / j, j / 1e9
    print "Outputs agree line for line."
    r = a / o
    printf "  ostrel-tc / avutil loop: %6.2f   goal >= 5: %s\n", r, (r >= 5 ? "met" : "NOT met")
    if (have_node) {
        r = j / o
        printf "  ostrel-tc / node:        %6.2f   goal >= 15: %s\n", r, (r >= 15 ? "met" : "NOT met")
    } else print "  ostrel-tc / node: skipped"
}'

# An edit list of lines / 10 events, each an event line and a comment, drop frame and
# non-drop by turns every thousand events, converted 29.97 to 25 by --edl.
events=$((lines / 10 > 0 ? lines / 10 : 1))
edl=$work/list.edl
awk -v n="$events" 'BEGIN {
    x = 20240607; rec = 108000
    for (i = 0; i < n; i++) {
        if (i % 1000 == 0) { drop = (i / 1000) % 2; print (drop ? "FCM: DROP FRAME" : "FCM: NON-DROP FRAME") }
        x = (x * 16807) % 2147483647; src = x % 2484000; len = 1 + x % 240
        printf "%06d  A%05dC V     C        %s %s %s %s\n", i % 1000000, i % 100000, \
            label(src), label(src + len), label(rec), label(rec + len)
        printf "* FROM CLIP NAME: A%05d_C%03d.MOV\n", i % 100000, i % 1000
        rec += len
    }
}
function label(r,    ff, ss, mm, hh) {
    ff = r % 30; r = int(r / 30)
    ss = r % 60; r = int(r / 60)
    mm = r % 60; hh = int(r / 60)
    if (drop && ss == 0 && mm % 10 != 0 && ff < 2) ff += 2
    return sprintf("%02d:%02d:%02d%s%02d", hh, mm, ss, drop ? ";" : ":", ff)
}' > "$edl"
edl_lines=$(wc -l < "$edl")
input=$edl
ns_edl=$(best_ns "$work/edl.out" "$ostrel_tc" --edl --rate 29.97 --to-rate 25)
[ "$(wc -l < "$work/edl.out")" -eq "$edl_lines" ] || die "--edl wrote another count of lines"
awk -v n="$edl_lines" -v e="$events" -v t="$ns_edl" -v runs="$RUNS" 'BEGIN {
    printf "Edit list: %d events (%d lines), --edl 29.97 to 25, best of %d wall-clock runs\n", e, n, runs
    printf "  %-28s %12.0f lines/s  (%.3f s, %.0f events/s)\n", "ostrel-tc --edl", n * 1e9 / t, t / 1e9, e * 1e9 / t
}'
