# Sourced by the Windows tests: named checks counted, each with its time, and the closing
# "N passed, N failed" line that run_windows_tests.sh reads.
passed=0 failed=0

check() { # name, command...: counts the command's success
    local name=$1 t0 ms
    shift
    t0=$(date +%s%N)
    if "$@"; then passed=$((passed + 1)) result=PASS; else failed=$((failed + 1)) result=FAIL; fi
    ms=$(( ($(date +%s%N) - t0) / 1000000 ))
    echo "$result $name ($ms ms)"
}

fail() { # message: says why a check fails, and fails
    echo "  $*"
    return 1
}

checks_end() { # prints the totals; fails when a check failed
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}
