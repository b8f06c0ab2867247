#!/usr/bin/env bash
# window-class.sh PAGEWING DESKTOP_ENTRY WORK_DIR
#
# On X11 a dock or task bar ties a window to its desktop entry by the window's class (WM_CLASS), which must be
# the entry's StartupWMClass: otherwise the running program shows as a second, iconless application. Starts the
# program on a private Xvfb display and compares the class of its main window with the entry.
set -euo pipefail
export LC_ALL=C
source "$(dirname "$0")/../../scripts/lib/desktop.sh"

pagewing=$1
desktop_entry=$2
work=$3

rm -rf -- "$work"
mkdir -p -- "$work/home" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
pids=()
cleanup() {
    local pid
    for pid in ${program_pid:-} "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
}
trap cleanup EXIT

expected=$(sed -n '/^\[Desktop Entry\]/,/^\[/{s/^StartupWMClass=//p}' "$desktop_entry" | head -n 1)
if [ -z "$expected" ]; then
    echo "FAIL: the desktop entry has no StartupWMClass" >&2
    exit 1
fi

start_private_display "$work"

env HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb \
    "$pagewing" >"$work/program.log" 2>&1 &
program_pid=$!

# The main window is the one titled with the product name; the About and Options windows open beside it.
window=$(timeout 20 xdotool search --sync --all --onlyvisible --pid "$program_pid" --name '^Lumenfold Pagewing$' |
    head -n 1 || true)
if [ -z "$window" ]; then
    cat "$work/program.log" >&2
    echo "FAIL: the main window did not appear within 20 seconds" >&2
    exit 1
fi
# WM_CLASS(STRING) = "instance", "class"
actual=$(xprop -id "$window" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = "[^"]*", "\(.*\)"$/\1/p')
if [ "$actual" != "$expected" ]; then
    echo "FAIL: the main window's class is \"$actual\", the desktop entry's StartupWMClass is \"$expected\"" >&2
    exit 1
fi
echo "the main window's class \"$actual\" matches the desktop entry"
