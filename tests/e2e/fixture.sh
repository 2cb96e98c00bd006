#!/usr/bin/env bash
# fixture.sh setup|cleanup <win32-build-dir>
# Brackets a run of the end-to-end cases: "setup" provides a display,
# prepares the Wine prefix and leaves its Wine server running; "cleanup"
# stops the prefix's server and the display that setup started. Nothing
# outside this build tree is touched.
set -u

if [ $# -ne 2 ]; then
    echo "usage: fixture.sh setup|cleanup <win32-build-dir>" >&2
    exit 2
fi
scripts="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts" && pwd)"

case $1 in
setup)
    bash "$scripts/xvfb.sh" start "$2" || exit 1
    bash "$scripts/wine-prefix.sh" "$2" || exit 1
    (
        . "$scripts/wine-env.sh" "$2" || exit 2
        # Starting the server and Wine's service processes costs 2-3 s, and
        # by default they stop as soon as the last program ends: keep them
        # for the whole run (60 s after the last program at most; cleanup
        # stops them at once). They must not hold the runner's output pipes,
        # or it would wait for them.
        timeout 10 wineserver -k 2>/dev/null
        timeout 30 wineserver -w 2>/dev/null
        timeout 10 wineserver -p60 </dev/null >/dev/null 2>&1 || exit 1
        timeout 60 "$QV_WINE" cmd /c exit </dev/null >/dev/null 2>&1 || exit 1
        echo "fixture.sh: the 32-bit program runs $QV_PLATFORM"
    ) || {
        echo "fixture.sh: could not start the Wine server" >&2
        exit 1
    }
    echo "fixture.sh: Wine server running"
    ;;
cleanup)
    (
        . "$scripts/wine-env.sh" "$2" || exit 2
        # WINEPREFIX names this build's server only.
        timeout 10 wineserver -k 2>/dev/null
        exit 0
    )
    bash "$scripts/xvfb.sh" stop "$2"
    ;;
*)
    echo "usage: fixture.sh setup|cleanup <win32-build-dir>" >&2
    exit 2
    ;;
esac
