#!/usr/bin/env bash
# The program in a headless sway session, as an editor on a Wayland desktop gets it:
#   - started plainly, it runs on XWayland and asks for its fixed place; in each of 20 starts
#     the about window comes up in front of the calculator, focused;
#   - forced onto Wayland, both windows carry the desktop entry's id as app_id, the about
#     window has an empty title, and keys from a real keymap enter what they do under X11.
# sway refuses to run as root, so as root the session runs as an unprivileged user.
# Usage: tst_sway.sh PROGRAM VKBD DESKTOP-ENTRY      exit 77 when the session cannot be had.
set -uo pipefail

program=$1 vkbd=$2 entry=$3
title="Quorvane Time Code Calculator"
app_id=$(basename "$entry" .desktop)
wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
starts=20
skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; failed=1; }
failed=0

for tool in sway swaymsg Xwayland wl-paste xprop setpriv jq; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
done

work=$(mktemp -d /tmp/ostrel-sway.XXXXXX)
chmod 755 "$work"
user=$(id -un)
if [ "$(id -u)" -eq 0 ]; then
    user=ostrel-test
    id "$user" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$user" \
        || skip "cannot create an unprivileged user"
fi
as_user() {
    if [ "$(id -u)" -eq 0 ]; then
        setpriv --reuid="$user" --regid="$user" --clear-groups "$@"
    else
        "$@"
    fi
}

# The user may not reach the build tree: the program, its library and the keyboard client go
# to a folder it can read.
mkdir -p "$work/bin" "$work/run" "$work/out"
cp "$program" "$(dirname "$program")/libPellund.so" "$vkbd" "$work/bin/"
vkbd=$work/bin/$(basename "$vkbd")
chown "$user" "$work/run" "$work/out"
chmod 700 "$work/run"
cat > "$work/config" <<CONF
xwayland enable
output HEADLESS-1 resolution 1024x768
CONF
cat > "$work/launch" <<'LAUNCH'
#!/bin/sh
# Started by sway, so it gets the session's environment; records it for the test.
out=$1; shift
echo "$DISPLAY" > "$out/display"
exec "$@" > "$out/program.log" 2>&1
LAUNCH
chmod 755 "$work/launch" "$work/config"

session=(env -i PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$work/run" XDG_SESSION_TYPE=wayland
         WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman
         ${ASAN_OPTIONS:+ASAN_OPTIONS=$ASAN_OPTIONS})
# Started directly, not through the as_user function, so that $! is sway itself (a function
# in the background is a subshell, and killing that would leave sway running).
if [ "$(id -u)" -eq 0 ]; then
    setpriv --reuid="$user" --regid="$user" --clear-groups "${session[@]}" sway -c "$work/config" \
        > "$work/sway.log" 2>&1 &
else
    "${session[@]}" sway -c "$work/config" > "$work/sway.log" 2>&1 &
fi
sway_pid=$!
cleanup() {
    kill "$sway_pid" 2>/dev/null
    wait "$sway_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

for _ in $(seq 100); do
    ipc=$(ls "$work"/run/sway-ipc.* 2>/dev/null | head -n1)
    [ -n "$ipc" ] && [ -S "$work/run/wayland-1" ] && break
    kill -0 "$sway_pid" 2>/dev/null || break
    sleep 0.1
done
[ -n "${ipc:-}" ] || { tail -n 5 "$work/sway.log"; skip "sway does not start here"; }
client=("${session[@]}" SWAYSOCK="$ipc" WAYLAND_DISPLAY=wayland-1)

msg() { as_user "${client[@]}" swaymsg "$@" >/dev/null 2>&1; }
# Waits until a window matching the criteria is in the tree.
wait_for() {
    for _ in $(seq 100); do
        msg "$1 mark --add found" && return 0
        sleep 0.1
    done
    return 1
}
start() { # extra environment...
    msg exec "env $* $work/launch $work/out $work/bin/ostrel"
}
# The floating windows of the workspace, bottom first, one line each: shell, X11 instance or
# app_id, title ("" for none), focused.
windows() {
    as_user "${client[@]}" swaymsg -t get_tree | jq -r '.. | objects
        | select(.type == "workspace" and .name != "__i3_scratch") | .floating_nodes[]
        | [.shell, (.window_properties.instance // .app_id), (.name // ""), .focused] | @tsv'
}
# Waits until count windows float on the workspace.
wait_for_windows() { # count
    for _ in $(seq 200); do
        [ "$(windows | wc -l)" -eq "$1" ] && return 0
        sleep 0.05
    done
    return 1
}
stop() {
    msg "[title=\"$title\"] kill"
    msg "[app_id=\"$app_id\"] kill"
    msg "[instance=\"$wm_class\"] kill"
    wait_for_windows 0 || pkill -u "$user" -x ostrel 2>/dev/null
    sleep 0.2
}
# Both windows are up, the about window (empty title) on top and focused.
about_in_front() { # shell id
    local expected
    expected=$(printf '%s\t%s\t%s\t%s\n' "$1" "$2" "$title" false "$1" "$2" "" true)
    wait_for_windows 2 && [ "$(windows)" = "$expected" ]
}

# Plain start: on XWayland, at its place (sway centres floating X11 windows, but the program
# asks for its own place as under any X11 window manager).
start
if wait_for "[shell=\"xwayland\" title=\"$title\"]"; then
    hints=$(as_user env DISPLAY="$(cat "$work/out/display")" xprop -name "$title" WM_NORMAL_HINTS)
    grep -q "user specified location: 298, 247" <<<"$hints" || fail "not asked for its place: $hints"
    grep -q "program specified maximum size: 286 by 198" <<<"$hints" || fail "size: $hints"
else
    fail "plain start is not an XWayland window"
    cat "$work/out/program.log"
fi
# Every start, the first on a fresh XWayland too: the about window in front, focused; the X11
# class is the desktop entry's StartupWMClass.
behind=0
for i in $(seq "$starts"); do
    [ "$i" -gt 1 ] && start
    if ! about_in_front xwayland "$wm_class"; then
        behind=$((behind + 1))
        windows | sed "s/^/start $i: /"
    fi
    stop
done
[ "$behind" -eq 0 ] || fail "about window not in front and focused in $behind of $starts starts"

# Forced onto Wayland: the key table with real key codes.
start QT_QPA_PLATFORM=wayland
wait_for "[shell=\"xdg_shell\" title=\"$title\"]" || { cat "$work/out/program.log"; fail "no Wayland window"; }
about_in_front xdg_shell "$app_id" \
    || fail "not both windows with app_id $app_id, the untitled about window in front: $(windows)"
copied() { # keys...  the display, as Copy puts it on the clipboard
    as_user "${client[@]}" "$vkbd" "$@" alt+o wait:300 || return
    as_user "${client[@]}" wl-paste --no-newline
}
check() { # expected keys...
    local expected=$1; shift
    local got
    got=$(copied "$@")
    [ "$got" = "$expected" ] || fail "keys '$*' copied '$got', expected '$expected'"
}
as_user "${client[@]}" "$vkbd" esc wait:500
check "00:00:00:20" esc 1 shift+8 kp+ 2 end
check "00:00:00:12" esc 3 kp* 4 end
check "00:00:00:05" esc 9 kp- 4 kp1
check "00:00:00:03" esc 6 kp/ 2 end
check "00:00:00:05" esc hold:5:1500
stop

[ "$failed" -eq 0 ] && echo "PASS: tst_sway"
exit "$failed"
