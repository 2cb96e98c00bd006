#!/usr/bin/env bash
# run-program.sh <win32-build-dir>
# What `make run` does once the win32 preset is built: lays the program and
# the sample libraries out in the build's Wine prefix (the program with its
# registrar in C:\REGQuorvalis\, the component and its type library in
# C:\Quorvalis\), then
#   - with a display, outside CI: starts the program for the operator and
#     stops the prefix's Wine server when it ends;
#   - without one (or in CI): plays the short tour of tour.txt on a virtual
#     display: register the component, call it from the script client, reset,
#     each step printed as it runs.
set -u

if [ $# -ne 1 ]; then
    echo "usage: run-program.sh <win32-build-dir>" >&2
    exit 2
fi
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/.." && pwd)
build=$1

run_for_operator() {
    bash "$here/wine-prefix.sh" "$build" || exit 1
    . "$here/wine-env.sh" "$build" || exit 2
    # The prefix is set up for a display without a window manager; on the
    # operator's desktop the window manager places and decorates the windows.
    timeout 60 "$QV_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d Y /f \
        >/dev/null 2>&1
    echo "run-program.sh: starting C:\\REGQuorvalis\\REGQuorvalis.exe on $DISPLAY, $QV_PLATFORM"
    "$QV_WINE" 'C:\REGQuorvalis\REGQuorvalis.exe'
    status=$?
    timeout 10 wineserver -k 2>/dev/null
    exit $status
}

# Without a display: the tour, in a prefix and on a display of its own.
play_tour() {
    echo "run-program.sh: tour: register the sample component, call the client, reset"
    QV_ECHO=1 bash "$repo/tests/run-cases.sh" "$build" "$here/tour.txt"
}

if [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ]; then
    run_for_operator
else
    play_tour
fi
