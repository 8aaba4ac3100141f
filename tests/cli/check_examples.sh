#!/usr/bin/env bash
# Runs every ostrel-tc example of the README, the manual page and --help as written, and
# compares what each prints with the output written under it.
#
#   check_examples.sh BIN_DIR README.md ostrel-tc.1.scd
set -euo pipefail
export LC_ALL=C

[ $# -eq 3 ] || { echo "usage: check_examples.sh BIN_DIR README.md ostrel-tc.1.scd" >&2; exit 2; }
bin=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Each source becomes "$ command" lines, each followed by the lines it prints.
readme() {
    awk '/^## ostrel-tc/ { on = 1; next } /^## / { on = 0 }
         on && /^```sh/ { block = 1; next } block && /^```/ { block = 0 } block' "$1"
}
help_text() {
    "$bin/ostrel-tc" --help | awk 'on { sub(/^  /, ""); print } /^Examples:/ { on = 1 }'
}
manual() {
    awk 'function plain(s) { gsub(/\\\\/, "\001", s); gsub(/\\/, "", s); gsub("\001", "\\", s); return s }
         /^# EXAMPLES/ { on = 1; next } /^# / { on = 0 }
         !on { next }
         /^\*.*\*$/ { print "$ " plain(substr($0, 2, length($0) - 2)); more = 0; next }
         /^\t/ || more { line = $0; sub(/^\t/, "", line); more = sub(/\+\+$/, "", line); print line }' "$1"
}

failures=0
check() { # name, listing file
    local name=$1 count=0 command="" expected="" lines=0
    run() {
        [ -n "$command" ] || return 0
        count=$((count + 1))
        local got
        got=$(cd "$work" && PATH="$bin:$PATH" bash -c "$command" 2>/dev/null) || true
        if [ "$got" != "$expected" ]; then
            printf '%s: %s\n  expected: %s\n  got:      %s\n' "$name" "$command" "$expected" "$got" >&2
            failures=$((failures + 1))
        fi
    }
    while IFS= read -r line; do
        if [[ $line == '$ '* ]]; then
            run
            command=${line#\$ } expected="" lines=0
        elif [ -n "$command" ]; then
            [ "$lines" -eq 0 ] || expected+=$'\n'
            expected+=$line lines=$((lines + 1))
        fi
    done < "$2"
    run
    echo "$name: $count examples"
    [ "$count" -gt 0 ] || { echo "$name: no examples found" >&2; failures=$((failures + 1)); }
}

readme "$2" > "$work/readme"
help_text > "$work/help"
manual "$3" > "$work/manual"
check README "$work/readme"
check --help "$work/help"
check "man page" "$work/manual"
[ "$failures" -eq 0 ]
