# Shell functions shared by the scripts and tests that run Pagewing away from the user's desktop.
# Source this file; each function records the processes it starts in the array `pids` for the caller to end.

# start_private_display FOLDER: starts Xvfb on a free display and exports DISPLAY once it accepts clients.
start_private_display() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$1/display" 2>/dev/null &
    pids+=($!)
    for _ in $(seq 50); do
        [ -s "$1/display" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(cat "$1/display")"
}

# start_gateway FOLDER [OPTIONS...]: starts the gateway simulator on a free loopback port; sets `port`.
# Its SMS lines go to FOLDER/gateway.out, its notes to FOLDER/gateway.err.
start_gateway() {
    local folder=$1
    shift
    build/default/tools/gateway-sim/pagewing-gateway-sim --listen 127.0.0.1:0 "$@" \
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
