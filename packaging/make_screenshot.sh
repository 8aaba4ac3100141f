#!/usr/bin/env bash
# Renders packaging/screenshot.png, the README's and the AppStream data's picture, from the
# real window at three times its size, as software centres want 620 pixels or more:
# 00:00:59;29 + 1 frame in NTSC drop frame. The screen is large enough for the window at its
# scaled place.
#   bash packaging/make_screenshot.sh BUILD_FOLDER     (needs xvfb, xdotool, imagemagick)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$1/bin/ostrel
title="Quorvane Time Code Calculator"

out=$(mktemp)
Xvfb -displayfd 1 -screen 0 2048x1536x24 -nolisten tcp -noreset > "$out" 2>/dev/null &
xvfb=$!
trap 'kill "${pid:-}" "$xvfb" 2>/dev/null || true; rm -f "$out"' EXIT
for _ in $(seq 100); do [ -s "$out" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n 1 "$out")

QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=3 XDG_RUNTIME_DIR=$(mktemp -d) "$program" &
pid=$!
window=""
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "the calculator did not map" >&2; exit 1; }
sleep 1
# A character key closes the about window; then DF, 5929 + 1 and End for equals.
xdotool key x
sleep 0.5
xdotool windowfocus --sync "$window" key alt+d 5 9 2 9 KP_Add 1 End
sleep 1
import -window "$window" "$here/screenshot.png"
identify -format '%w x %h\n' "$here/screenshot.png"
