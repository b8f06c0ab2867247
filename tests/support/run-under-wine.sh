#!/bin/sh
# run-under-wine.sh PREFIX PROGRAM [ARGUMENT...]: runs a Windows test program under Wine, as the cross build's
# emulator. Wine gets a private prefix (made by the first run), no display to open windows on, no debug
# chatter and no offer to install its .NET or HTML engines, so it never waits for anyone.
set -eu

WINEPREFIX=$1
shift
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
wine=${WINE:-/usr/lib/wine/wine64}

if [ ! -x "$wine" ]; then
    echo "run-under-wine.sh: $wine is missing; scripts/setup installs wine64" >&2
    exit 1
fi
# Left to itself, each program would start Wine's server and system processes (services.exe and others) and
# hand them its output, and CTest would wait seconds after every program for them to end. Started here,
# apart from any output, they serve the runs that follow and end by themselves a few seconds after the last.
# Runs side by side take turns, so one alone starts them.
mkdir -p "$WINEPREFIX"
(
    flock 9
    if "$(dirname "$wine")/wineserver" -p2 </dev/null >/dev/null 2>&1 9>&-; then
        "$wine" wineboot --init </dev/null >/dev/null 2>&1 9>&-
    fi
) 9>"$WINEPREFIX.lock"
exec "$wine" "$@"
