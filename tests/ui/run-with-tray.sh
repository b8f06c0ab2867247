#!/usr/bin/env bash
# Runs a test program on a private Xvfb display that has a notification area (trayer), on the xcb platform.
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib/desktop.sh"

work=$(mktemp -d)
pids=()
cleanup() {
    kill "${pids[@]}" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

start_private_display "$work"
trayer --edge bottom --height 24 --widthtype pixel --width 200 >/dev/null 2>&1 &
pids+=($!)

QT_QPA_PLATFORM=xcb "$@"
