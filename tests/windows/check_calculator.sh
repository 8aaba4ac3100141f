#!/usr/bin/env bash
# The Windows calculator under Wine, driven by the Linux end-to-end test through real X key
# and mouse events on a private Xvfb: start-up, keys, results, memories, clipboard, messages.
#
#   check_calculator.sh LINUX_BUILD_DIR WINDOWS_APP_DIR
set -uo pipefail
linux=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
export OSTREL_EXE=$(cd "$2" && pwd)/Ostrel.exe
. "$here/wine_env.sh" ""
# Wine draws the windows' frames and moves the keyboard itself, as Windows does, rather than
# leave both to an X window manager, of which the test has none.
win reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# The Wine desktop starts with the first window, on the test's own display.
"$WINESERVER" -k >/dev/null 2>&1
"$WINESERVER" -w >/dev/null 2>&1
"$WINESERVER" -p </dev/null >/dev/null 2>&1
log=$(mktemp)
OSTREL_PROGRAM="$here/ostrel-wine" "$linux/bin/tst_endtoend" -maxwarnings 0 > "$log" 2>&1
status=$?
cat "$log"
totals=$(sed -n 's/^Totals: \([0-9]*\) passed, \([0-9]*\) failed.*/\1 \2/p' "$log")
rm -f "$log"
wine_end
[ -n "$totals" ] || { echo "0 passed, 1 failed"; exit 1; }
set -- $totals
echo "$1 passed, $2 failed"
[ "$status" -eq 0 ] && [ "$2" -eq 0 ]
