# Shell functions shared by the scripts and tests that run Pagewing away from the user's desktop.
# Source this file; each function records the processes it starts in the array `pids` for the caller to end.
# The programs are taken from the build folder named in `build_dir` (build/default unless the caller set it).
build_dir=${build_dir:-build/default}

# start_private_display FOLDER [SCREEN]: starts Xvfb on a free display with a screen of SCREEN (default
# 1024x768x24) and exports DISPLAY once it accepts clients. An X server starts over whenever its last client
# leaves, and turns clients away meanwhile: the accessibility bus's launcher, which only leaves its address on
# the root window, or our own first client would make the program's connection fail; -noreset keeps it up.
start_private_display() {
    Xvfb -displayfd 3 -screen 0 "${2:-1024x768x24}" -nolisten tcp -noreset 3>"$1/display" 2>/dev/null &
    pids+=($!)
    for _ in $(seq 50); do
        [ -s "$1/display" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(cat "$1/display")"
    for _ in $(seq 100); do
        xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "Xvfb did not accept clients on $DISPLAY" >&2
    return 1
}

# start_window_manager FOLDER: starts openbox, with its stock settings and its notes in FOLDER/openbox.log, on
# the display in DISPLAY, and returns once it manages windows (it names itself on the root window). A display
# just started may turn its first clients away on a busy machine: openbox then ends at once, and starts again.
start_window_manager() {
    local wm
    for _ in $(seq 200); do
        if [ -z "${wm:-}" ] || ! kill -0 "$wm" 2>/dev/null; then
            openbox --config-file /etc/xdg/openbox/rc.xml >>"$1/openbox.log" 2>&1 &
            wm=$!
        fi
        if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
            pids+=("$wm")
            return 0
        fi
        sleep 0.1
    done
    kill "$wm" 2>/dev/null
    echo "openbox did not start on $DISPLAY:" >&2
    cat "$1/openbox.log" >&2
    return 1
}

# start_gateway FOLDER [OPTIONS...]: starts the gateway simulator on a free loopback port; sets `port`.
# Its SMS lines go to FOLDER/gateway.out, its notes to FOLDER/gateway.err.
start_gateway() {
    local folder=$1
    shift
    "$build_dir"/tools/gateway-sim/pagewing-gateway-sim --listen 127.0.0.1:0 "$@" \
        >"$folder/gateway.out" 2>"$folder/gateway.err" &
    pids+=($!)
    for _ in $(seq 100); do
        grep -q 'authorization server on' "$folder/gateway.err" && break
        sleep 0.1
    done
    port=$(sed -n 's/.*authorization server on 127\.0\.0\.1:\([0-9]*\),.*/\1/p' "$folder/gateway.err")
    if [ -z "$port" ]; then
        cat "$folder/gateway.err" >&2
        return 1
    fi
}

# write_profile FOLDER PORT [KEY=VALUE...]: a profile of Pagewing's own in FOLDER, the only place that writes
# one: FOLDER/config holds the settings file with the simulator's address on PORT, its demo account
# (100200300, password pagewing) and any further keys; FOLDER/runtime is a private runtime folder. Point
# XDG_CONFIG_HOME and XDG_RUNTIME_DIR there.
write_profile() {
    local folder=$1 port=$2
    shift 2
    local settings="$folder/config/Lumenfold Pagewing"
    mkdir -p "$settings" "$folder/runtime"
    chmod 700 "$settings" "$folder/runtime"
    {
        printf '[Settings]\nLoginURL=127.0.0.1\nLoginPort=%s\nICQUIN=100200300\nICQPassword=pagewing\n' "$port"
        [ $# -eq 0 ] || printf '%s\n' "$@"
    } >"$settings/Lumenfold Pagewing.ini"
    chmod 600 "$settings/Lumenfold Pagewing.ini"
}

# start_private_wayland FOLDER: starts a headless weston with its own runtime folder FOLDER/wayland and
# exports XDG_RUNTIME_DIR and WAYLAND_DISPLAY once it accepts clients. With --debug, weston-screenshooter
# can take pictures of it.
start_private_wayland() {
    export XDG_RUNTIME_DIR="$1/wayland"
    mkdir -p "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    weston --backend=headless-backend.so --use-pixman --socket=pagewing-wl --width=1024 --height=768 \
        --idle-time=0 --debug >"$1/weston.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do
        [ -S "$XDG_RUNTIME_DIR/pagewing-wl" ] && break
        sleep 0.05
    done
    # A path, so that a client that moves XDG_RUNTIME_DIR elsewhere still finds the compositor.
    export WAYLAND_DISPLAY="$XDG_RUNTIME_DIR/pagewing-wl"
}

# start_private_bus FOLDER: starts a session bus of its own that activates no services (so no keyring
# prompt and no notification daemon), exports DBUS_SESSION_BUS_ADDRESS and writes its process id to
# FOLDER/bus.pid.
start_private_bus() {
    cat >"$1/bus.conf" <<'CONF'
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
    dbus-daemon --config-file="$1/bus.conf" --fork --print-address=3 --print-pid=4 3>"$1/bus.address" \
        4>"$1/bus.pid"
    DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$1/bus.address")
    export DBUS_SESSION_BUS_ADDRESS
}
