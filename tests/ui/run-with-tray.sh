#!/usr/bin/env bash
# Runs a test program on a private Xvfb display that has a notification area (trayer), on the xcb platform.
set -euo pipefail

work=$(mktemp -d)
cleanup() {
    kill "${tray_pid:-}" "${xvfb_pid:-}" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 50); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
export DISPLAY=":$(cat "$work/display")"
trayer --edge bottom --height 24 --widthtype pixel --width 200 >/dev/null 2>&1 &
tray_pid=$!

QT_QPA_PLATFORM=xcb "$@"
