#!/usr/bin/env bash
# xvfb.sh start|stop <win32-build-dir>
# Without a display Wine's message boxes return at once instead of showing,
# so the GUI runs on a virtual X server. "start" launches one only when
# DISPLAY is unset and records it for wine-env.sh; "stop" ends only the
# server that "start" launched.
set -u

usage() {
    echo "usage: xvfb.sh start|stop <win32-build-dir>" >&2
    exit 2
}
[ $# -eq 2 ] || usage
action=$1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# wine-env.sh would take DISPLAY from our own state file: look at the
# caller's environment first.
caller_display=${DISPLAY:-}
. "$here/wine-env.sh" "$2" || exit 2

server_alive() {
    local pid
    [ -s "$QV_XVFB_PID_FILE" ] || return 1
    pid=$(cat "$QV_XVFB_PID_FILE")
    [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null &&
        grep -q Xvfb "/proc/$pid/cmdline" 2>/dev/null
}

start() {
    if [ -n "$caller_display" ]; then
        echo "xvfb.sh: using DISPLAY=$caller_display"
        return 0
    fi
    mkdir -p "$QV_WINE_DIR"
    if server_alive; then
        echo "xvfb.sh: already running on $(cat "$QV_DISPLAY_FILE")"
        return 0
    fi
    rm -f "$QV_XVFB_PID_FILE" "$QV_DISPLAY_FILE"
    local n pid first=90 log="$QV_WINE_DIR/xvfb.log"
    for n in $(seq "$first" $((first + 9))); do
        # A lock file or socket means another server owns this number.
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        # setsid: the test runner must neither wait for nor signal it.
        setsid Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp \
            </dev/null >"$log" 2>&1 &
        pid=$!
        for _ in $(seq 1 50); do
            if ! kill -0 "$pid" 2>/dev/null; then
                break # lost the race for this number, or failed
            fi
            if [ -e "/tmp/.X11-unix/X$n" ]; then
                echo "$pid" >"$QV_XVFB_PID_FILE"
                echo ":$n" >"$QV_DISPLAY_FILE"
                echo "xvfb.sh: started Xvfb :$n (pid $pid)"
                return 0
            fi
            sleep 0.1
        done
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    echo "xvfb.sh: could not start Xvfb on :$first..:$((first + 9)) (see $log)" >&2
    return 1
}

stop() {
    if ! server_alive; then
        rm -f "$QV_XVFB_PID_FILE" "$QV_DISPLAY_FILE"
        return 0
    fi
    local pid
    pid=$(cat "$QV_XVFB_PID_FILE")
    kill "$pid"
    for _ in $(seq 1 30); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && kill -9 "$pid"
    rm -f "$QV_XVFB_PID_FILE" "$QV_DISPLAY_FILE"
    echo "xvfb.sh: stopped Xvfb (pid $pid)"
}

case $action in
start) start ;;
stop) stop ;;
*) usage ;;
esac
