#!/usr/bin/env bash
# end-suite.sh <prefix> <display-pid> [<suite-pid>]
# Ends every process of a Wine prefix and the display it ran on; with a
# suite's pid, only once that suite is gone, however it ended. CTest ends a
# suite that runs out of time with SIGKILL, which no trap of the suite sees,
# and Wine's server and processes are not the suite's children (Wine starts
# each process through a double fork), so a watcher started apart from the
# suite (setsid -f) does it then. Run with WINEPREFIX unset: a process is
# the prefix's when its environment names it.
prefix=$1 display=$2 suite=${3:-}
if [ -n "$suite" ]; then
    echo $$ >"$prefix.watcher"
    while kill -0 "$suite" 2>/dev/null; do sleep 1; done
fi
of_prefix() {
    local proc
    for proc in /proc/[0-9]*; do
        tr '\0' '\n' 2>/dev/null <"$proc/environ" | grep -qxF "WINEPREFIX=$prefix" &&
            echo "${proc#/proc/}"
    done
}
# What a suite that was killed left running tells why it ran out of time.
left=$(of_prefix)
[ -z "$suite" ] || [ -z "$left" ] || ps -o pid,pcpu,etime,args -p "$(echo $left)" >"$prefix.left" 2>&1
WINEPREFIX=$prefix timeout 10 wineserver -k 2>/dev/null
left=$(of_prefix)
[ -z "$left" ] || kill -9 $left 2>/dev/null
kill "$display" 2>/dev/null
exit 0
