#!/usr/bin/env bash
# Start-up time (exec to the calculator window's MapNotify) and resident size 1 s after start,
# side by side with a bare Qt Widgets window of 30 buttons (bench_bare_qt) and xcalc, all on
# one Xvfb, runs interleaved. Further ostrel builds given after the first run in the same loop.
#   bash bench/startup.sh [RUNS] [PATH/TO/ostrel [PATH/TO/other/ostrel...]]
# The bare window is looked for beside the first ostrel (the build's bin folder).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-9}
shift || true
[ $# -gt 0 ] || set -- "$here/build/bin/ostrel"
bare=${OSTREL_BARE_QT:-$(dirname "$1")/bench_bare_qt}
work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT

for p in xvfb x11-apps x11-utils libxcb1-dev; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing="${missing:-} $p"
done
if [ -n "${missing:-}" ]; then
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    ${sudo:-} apt-get update -qq && DEBIAN_FRONTEND=noninteractive ${sudo:-} apt-get install -y -qq $missing
fi
[ -x "$bare" ] || { echo "no bare Qt window at $bare (build the bench_bare_qt target)" >&2; exit 2; }

cc -O2 -o "$work/mapwait" "$here/bench/mapwait.c" $(pkg-config --cflags --libs xcb)
# Without -noreset the server resets whenever its last client leaves, and a program started
# in that moment finds no display.
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || { echo "Xvfb did not come up on $DISPLAY" >&2; exit 1; }
export XDG_RUNTIME_DIR=$work

# name|title|command; the calculator builds are ostrel, ostrel#2, ...
peers=()
n=1
for prog in "$@"; do
    name=ostrel; [ $n -gt 1 ] && name="ostrel#$n"
    peers+=("$name|Quorvane|$prog")
    echo "$name = $prog"
    n=$((n + 1))
done
peers+=("bare-qt|Bare Qt window|$bare" "xcalc|-|xcalc")

# One unmeasured start each first, so that every program starts from a warm page cache.
for i in $(seq 0 "$runs"); do
    for peer in "${peers[@]}"; do
        IFS='|' read -r name title cmd <<<"$peer"
        out=$work/$name; [ "$i" -eq 0 ] && out=/dev/null
        "$work/mapwait" 1 "$title" -- "$cmd" >>"$out" 2>>"$work/errors" || { echo "$name failed to map:"; cat "$work/errors"; exit 1; } >&2
    done
done

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
for peer in "${peers[@]}"; do
    IFS='|' read -r name _ _ <<<"$peer"
    ms=$(cut -d' ' -f1 "$work/$name" | median)
    kib=$(cut -d' ' -f2 "$work/$name" | median)
    printf '%-9s start-up median %6.1f ms   resident %5.1f MB   (%s runs)\n' \
        "$name" "$ms" "$(awk -v k="$kib" 'BEGIN {print k / 1024}')" "$runs"
    echo "$name $ms $kib" >>"$work/medians"
done
awk 'NR == FNR {if ($1 == "bare-qt") {ms = $2; kib = $3}; next}
     $1 ~ /^ostrel/ {printf "%-9s / bare-qt: start-up %.2fx (goal at most 1.3), resident %+.2f MB (goal at most +2)\n",
                     $1, $2 / ms, ($3 - kib) / 1024}' "$work/medians" "$work/medians"
