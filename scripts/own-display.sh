# shellcheck shell=bash
# A virtual display of a run's own, for the Wine runs that have a prefix of
# their own; sourced. start_own_display <folder> starts Xvfb on a free display
# number, exports DISPLAY and keeps the server's pid in OWN_XVFB_PID. A
# prefix's desktop keeps the display it was booted with: start first.
OWN_XVFB_PID=
start_own_display() {
    Xvfb -displayfd 5 -nolisten tcp 5>"$1/display" 2>/dev/null &
    OWN_XVFB_PID=$!
    for _ in $(seq 50); do
        [ -s "$1/display" ] && break
        sleep 0.1
    done
    DISPLAY=:$(cat "$1/display")
    export DISPLAY
}
