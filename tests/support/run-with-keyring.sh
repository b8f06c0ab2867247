#!/usr/bin/env bash
# Runs a test program on a private session bus with GNOME Keyring's secret service, unlocked with a known
# password, in a home folder of its own, and stops both afterwards.
set -euo pipefail

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# A locked keyring asks for its password on the display; here it must fail instead, as it does without one.
unset DISPLAY WAYLAND_DISPLAY

# dbus-run-session ends the bus, and the daemons started on it, when the command ends.
exec dbus-run-session -- bash -c '
    echo -n keyring-unlock | gnome-keyring-daemon --unlock --components=secrets --daemonize >/dev/null
    exec "$@"' bash "$@"
