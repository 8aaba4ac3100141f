#!/usr/bin/env bash
# Start-up time (exec to the calculator window mapped) and resident size after start,
# side by side with xcalc and galculator on one Xvfb, runs interleaved.
#   bash bench/startup.sh [RUNS] [PATH/TO/ostrel]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-15}
ostrel=${2:-$here/build/bin/ostrel}
work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT

for p in xvfb x11-apps x11-utils galculator libxcb1-dev; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing="${missing:-} $p"
done
if [ -n "${missing:-}" ]; then
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    ${sudo:-} apt-get update -qq && DEBIAN_FRONTEND=noninteractive ${sudo:-} apt-get install -y -qq $missing
fi

cc -O2 -o "$work/mapwait" "$here/bench/mapwait.c" $(pkg-config --cflags --libs xcb)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
export XDG_RUNTIME_DIR=$work

for i in $(seq "$runs"); do
    "$work/mapwait" 1 "Quorvane" -- "$ostrel" >>"$work/ostrel"
    "$work/mapwait" 1 - -- xcalc >>"$work/xcalc"
    "$work/mapwait" 1 - -- galculator >>"$work/galculator" 2>/dev/null
done

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
for prog in ostrel xcalc galculator; do
    ms=$(cut -d' ' -f1 "$work/$prog" | median)
    mb=$(cut -d' ' -f2 "$work/$prog" | median | awk '{printf "%.1f", $1/1024}')
    printf '%-11s start-up median %7.1f ms   resident %6s MB   (%s runs)\n' "$prog" "$ms" "$mb" "$runs"
    eval "ms_$prog=$ms"
done
awk -v a="$ms_ostrel" -v b="$ms_xcalc" 'BEGIN {printf "start-up ratio ostrel / xcalc: %.2f (goal at most 1.2)\n", a/b}'
