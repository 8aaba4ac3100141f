#!/usr/bin/env bash
# Runs the README's first command, `bash packaging/build.sh run`, as a new user would on a
# fresh root of a Debian release: it must install what is missing, build without a single
# warning and map the calculator's window. The source is this tree's files as they are.
#   fresh_run.sh SOURCE_FOLDER SUITE               the whole test (needs root)
#   fresh_run.sh --inside ROOT DISPLAY            run by mmdebstrap in the fresh root
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
title="Quorvane Time Code Calculator"
fail() { echo "FAIL: $*"; exit 1; }
. "$here/fresh_lib.sh"

if [ "$1" = --inside ]; then
    root=$2 display=$3 log=$2/root/run.log
    # chroot, bash -c and build.sh's own exec keep one process, which ends as the program.
    mkdir -p -m 700 "$root/run/ostrel-test"
    chroot "$root" env DISPLAY="$display" XDG_RUNTIME_DIR=/run/ostrel-test LC_ALL=C.UTF-8 \
        bash -c 'cd /root/ostrel && exec bash packaging/build.sh run' > "$log" 2>&1 &
    pid=$!
    trap 'kill "$pid" 2>/dev/null || true' EXIT
    for _ in $(seq 1500); do
        window_maps "$display" "$title" 1 && break
        kill -0 "$pid" 2>/dev/null || break
    done
    window_maps "$display" "$title" 1 || fail "the window did not map: $(tail -n 20 "$log")"
    warnings=$(grep -i -E 'warn' "$log" || true)
    [ -z "$warnings" ] || fail "the build printed warnings: $warnings"
    grep -c -E '^\[[0-9]+/[0-9]+\]' "$log" | xargs echo "build steps:"
    echo "the window mapped; no warning in $(wc -l < "$log") lines of output"
    exit 0
fi

[ "$(id -u)" -eq 0 ] || { echo "SKIP: mmdebstrap and chroot need root"; exit 77; }
source_dir=$1 suite=$2
mapfile -t sources < <(suite_sources "$suite")
start_xvfb
tarball=$(mktemp /tmp/ostrel-source.XXXXXX.tar)
trap 'kill "$xvfb" 2>/dev/null || true; rm -f "$tarball"' EXIT
(cd "$source_dir" && git ls-files -z --cached --others --exclude-standard \
    | xargs -0 sh -c 'for f; do [ -e "$f" ] && printf "%s\0" "$f"; done' _ \
    | tar -cf "$tarball" --null -T -)

start=$SECONDS
mmdebstrap --variant=apt --quiet \
    --customize-hook="mkdir -p \"\$1/root/ostrel\" && tar -C \"\$1/root/ostrel\" -xf '$tarball'" \
    --customize-hook="bash '$here/fresh_run.sh' --inside \"\$1\" '$display'" \
    "$suite" /dev/null "${sources[@]}"
echo "fresh $suite root: README's run command checked in $((SECONDS - start)) s"
echo "1 passed, 0 failed"
