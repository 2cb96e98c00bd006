#!/usr/bin/env bash
# run-case.sh <win32-build-dir> <case> [args]
# Runs one case of the driver inside the build's Wine prefix and prints its
# transcript. At the first failed check it saves a screenshot to
# <build>/e2e-artifacts/<case>.png while the program still shows that state.
# Exit code: the driver's (0 pass, 1 fail, 2 misuse), 124 on timeout.
set -u

if [ $# -lt 2 ]; then
    echo "usage: run-case.sh <win32-build-dir> <case> [args]" >&2
    exit 2
fi
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/../../scripts/wine-env.sh" "$1" || exit 2
case_name=$2
shift 2
if [ "$QV_WINE_READY" != 1 ]; then
    echo "run-case.sh: $case_name cannot run: $QV_LOADER_PROBLEM" >&2
    exit 1
fi

driver="$QV_BUILD_DIR/tests/e2e/qv-e2e.exe"
if [ ! -f "$driver" ]; then
    echo "run-case.sh: no driver at $driver (build the win32 preset)" >&2
    exit 2
fi
if [ -z "${DISPLAY:-}" ]; then
    echo "run-case.sh: no display; run scripts/xvfb.sh start $QV_BUILD_DIR first" >&2
    exit 2
fi

artifacts="$QV_ARTIFACTS_DIR"
mkdir -p "$artifacts"
screenshot="$artifacts/$case_name.png"
# The driver waits (bounded) for this file before it goes on after its
# first failure; it sees the Unix file system as drive Z:.
snapshot_done="$artifacts/$case_name.snapshot-done"
rm -f "$screenshot" "$snapshot_done"
QV_E2E_SNAPSHOT_DONE="Z:${snapshot_done//\//\\}"
export QV_E2E_SNAPSHOT_DONE

take_screenshot() {
    if timeout 10 import -window root "$screenshot" 2>/dev/null; then
        echo "run-case.sh: screenshot saved to $screenshot"
    else
        echo "run-case.sh: could not save a screenshot to $screenshot"
    fi
    : >"$snapshot_done"
}

# The driver's console lines end in CR LF.
timeout 90 "$QV_WINE" "$driver" "$case_name" "$@" 2>&1 | {
    shot=0
    while IFS= read -r line; do
        line=${line%$'\r'}
        printf '%s\n' "$line"
        if [ $shot -eq 0 ] && [ "${line#\[FAIL\]}" != "$line" ]; then
            shot=1
            take_screenshot
        fi
    done
}
status=${PIPESTATUS[0]}

# A driver that ended without a "[FAIL]" line (crash, timeout) still leaves
# a picture of the screen.
if [ "$status" -ne 0 ] && [ "$status" -ne 2 ] && [ ! -f "$screenshot" ]; then
    take_screenshot
fi
rm -f "$snapshot_done"
if [ "$status" -eq 124 ]; then
    echo "run-case.sh: $case_name timed out; stopping what is left in the prefix"
    timeout 10 wineserver -k
fi
exit "$status"
