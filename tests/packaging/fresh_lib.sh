# Shared by the fresh-root tests: the machine's Debian mirror for any release, a private Xvfb,
# and a window that must map. Sourced; the caller defines fail().

# apt sources for SUITE. For the machine's own release its sources are used as they are; any
# other release comes from the same mirrors.
suite_sources() { # suite -> one source per line: a file name or a "deb ..." line
    local suite=$1 own f uri
    own=$(. /etc/os-release && echo "$VERSION_CODENAME")
    local files=()
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
        [ -s "$f" ] && files+=("$f")
    done
    [ ${#files[@]} -gt 0 ] || fail "this machine has no apt sources"
    if [ "$suite" = "$own" ]; then
        printf '%s\n' "${files[@]}"
        return
    fi
    for uri in $(sed -n -E 's,^(URIs:|deb) +(\[[^]]*\] +)?(http[^ ]*/debian(-security)?)/?( .*)?$,\3,p' \
                     "${files[@]}" | sort -u); do
        case $uri in
            */debian-security) echo "deb $uri $suite-security main" ;;
            *) echo "deb $uri $suite main"; echo "deb $uri $suite-updates main" ;;
        esac
    done
}

# -noreset: the window_maps polls connect and leave many times a second, and a server that
# resets when its last client leaves refuses a program that connects during the reset.
start_xvfb() { # sets display and xvfb
    local out
    out=$(mktemp)
    Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp -noreset > "$out" 2>/dev/null &
    xvfb=$!
    for _ in $(seq 100); do [ -s "$out" ] && break; sleep 0.1; done
    [ -s "$out" ] || fail "Xvfb gave no display number"
    display=:$(head -n 1 "$out")
    rm -f "$out"
}

window_maps() { # display title seconds
    local tenths=$(($3 * 10))
    for _ in $(seq "$tenths"); do
        xwininfo -display "$1" -name "$2" 2>/dev/null | grep -q 'IsViewable' && return 0
        sleep 0.1
    done
    return 1
}
