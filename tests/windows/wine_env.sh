# Sourced by the Windows tests: a Wine prefix of the test's own, its server kept running so
# that each program starts at once, and `win` to run a Windows program with its exit status.
#
#   . wine_env.sh PREFIX      (an empty PREFIX: a new folder, removed by wine_end; pass it
#                             always, or the caller's own first argument is taken)
WINE64=${WINE64:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
if [ -n "${1:-}" ]; then
    mkdir -p "$1"
    export WINEPREFIX=$1
    wine_own_prefix=0
else
    WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-wine.XXXXXX")
    export WINEPREFIX
    wine_own_prefix=1
fi
# The server started first, with no pipe of ours: a server a program starts holds that
# program's output open, and a reader of it would wait for ever.
# (It says 2 when the prefix's server already runs.)
"$WINESERVER" -p </dev/null >/dev/null 2>&1
if [ ! -f "$WINEPREFIX/system.reg" ] && ! "$WINE64" wineboot --init </dev/null >/dev/null 2>&1; then
    echo "wine_env.sh: no Wine prefix in $WINEPREFIX" >&2
    return 1
fi

win() { # program args...: runs a Windows program under Wine, its status as its own
    "$WINE64" "$@"
}

wine_end() { # stops the server, and removes the prefix when it is the test's own
    "$WINESERVER" -k >/dev/null 2>&1 || true
    "$WINESERVER" -w >/dev/null 2>&1 || true
    [ "$wine_own_prefix" = 1 ] && rm -rf "$WINEPREFIX"
    return 0
}
