# A headless sway for the fresh-root tests, run as an unprivileged user (sway refuses root).
# Sourced. start_sway FOLDER makes FOLDER/run (the session's runtime folder, with wayland-1)
# and FOLDER/env, which defines sway_tree; stop_sway ends it.
start_sway() { # folder
    local folder=$1 user=ostrel-test ipc
    command -v sway >/dev/null || fail "sway is not installed"
    id "$user" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$user"
    chmod 755 "$folder"
    mkdir -m 700 "$folder/run"
    chown "$user" "$folder/run"
    printf 'xwayland disable\noutput HEADLESS-1 resolution 1024x768\n' > "$folder/config"
    chmod 644 "$folder/config"
    setpriv --reuid="$user" --regid="$user" --clear-groups \
        env -i PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$folder/run" WLR_BACKENDS=headless \
        WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c "$folder/config" \
        > "$folder/sway.log" 2>&1 &
    sway_pid=$!
    for _ in $(seq 100); do
        ipc=$(ls "$folder"/run/sway-ipc.* 2>/dev/null | head -n 1 || true)
        [ -n "$ipc" ] && [ -S "$folder/run/wayland-1" ] && break
        sleep 0.1
    done
    [ -n "$ipc" ] || fail "sway did not start: $(tail -n 5 "$folder/sway.log")"
    cat > "$folder/env" <<ENV
sway_tree() { setpriv --reuid=$user --regid=$user --clear-groups env SWAYSOCK=$ipc swaymsg -t get_tree; }
ENV
}

stop_sway() {
    [ -n "${sway_pid:-}" ] || return 0
    kill "$sway_pid" 2>/dev/null || true
    wait "$sway_pid" 2>/dev/null || true
}
