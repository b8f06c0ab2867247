#!/usr/bin/env bash
# Runs a test program on a private display of the kind named first:
#   xvfb        an X server with no notification area, on the xcb platform
#   xvfb-tray   the same with a notification area (trayer)
#   weston      a headless Wayland compositor, on the wayland platform
#   xvfb-atspi  an X server with a private session bus and the accessibility bus on it (AT-SPI), which
#               Qt serves: what a screen reader reads
#   xvfb-openbox  xvfb-atspi with a window manager (openbox) that keeps a window above the others when asked
#               and a dialog over the window it belongs to, and a notification area, as an X11 desktop has
#   bus         no display (the offscreen platform), only a private session bus
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib/desktop.sh"

kind=$1
shift
# No session bus: the user's own keyring must not receive the tests' passwords.
export DBUS_SESSION_BUS_ADDRESS=
work=$(mktemp -d)
pids=()
# The display is gone before the next test starts its own, so that the two never share a display number.
cleanup() {
    kill "${pids[@]}" 2>/dev/null || true
    wait "${pids[@]}" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

case "$kind" in
xvfb | xvfb-tray)
    start_private_display "$work"
    if [ "$kind" = xvfb-tray ]; then
        trayer --edge bottom --height 24 --widthtype pixel --width 200 >/dev/null 2>&1 &
        pids+=($!)
    fi
    QT_QPA_PLATFORM=xcb "$@"
    ;;
weston)
    start_private_wayland "$work"
    QT_QPA_PLATFORM=wayland "$@"
    ;;
xvfb-atspi | xvfb-openbox)
    start_private_display "$work"
    start_private_bus "$work"
    pids+=("$(cat "$work/bus.pid")")
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    pids+=($!)
    if [ "$kind" = xvfb-openbox ]; then
        start_window_manager "$work"
        trayer --edge bottom --height 24 --widthtype pixel --width 200 >/dev/null 2>&1 &
        pids+=($!)
    fi
    QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$@"
    ;;
bus)
    start_private_bus "$work"
    pids+=("$(cat "$work/bus.pid")")
    QT_QPA_PLATFORM=offscreen "$@"
    ;;
*)
    echo "run-on-display: unknown display kind '$kind'" >&2
    exit 2
    ;;
esac
