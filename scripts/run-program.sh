#!/usr/bin/env bash
# run-program.sh <win32-build-dir>
# What `make run` does once the win32 preset is built: lays the program and
# the sample libraries out in the build's Wine prefix (the program with its
# registrar in C:\REGQuorvalis\, the component and its type library in
# C:\Quorvalis\), then
#   - with a display, outside CI: starts the program for the operator and
#     stops the prefix's Wine server when it ends;
#   - without one (or in CI): plays a short tour on a virtual display
#     (register the component where it lies, call it from the script client,
#     reset), prints the log and the client's answer, and saves a picture
#     of the window after each step under <build>/screenshots/.
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

# take_picture <file> <x> <y> <width> <height>: the screen, cut to the window
# when its rectangle is known.
take_picture() {
    local file=$1 x=$2 y=$3 width=$4 height=$5
    if ! timeout 10 import -window root -display "$DISPLAY" "$file" 2>/dev/null; then
        echo "run-program.sh: could not take a picture for $file"
        return
    fi
    if [ "$width" -gt 0 ] && [ "$height" -gt 0 ] && [ "$x" -ge 0 ] && [ "$y" -ge 0 ]; then
        timeout 10 convert "$file" -crop "${width}x${height}+${x}+${y}" +repage "$file" \
            2>/dev/null || echo "run-program.sh: kept the whole screen in $file"
    fi
    echo "screenshot: $file"
}

play_tour() {
    shots=$(cd "$build" && pwd)/screenshots
    rm -rf "$shots"
    mkdir -p "$shots"
    bash "$here/xvfb.sh" start "$build" || exit 1
    trap 'timeout 10 wineserver -k 2>/dev/null; bash "$here/xvfb.sh" stop "$build"' EXIT
    bash "$here/wine-prefix.sh" "$build" || exit 1
    . "$here/wine-env.sh" "$build" || exit 2

    driver="$QV_BUILD_DIR/tests/e2e/qv-e2e.exe"
    if [ ! -f "$driver" ]; then
        echo "run-program.sh: no driver at $driver (build the win32 preset)" >&2
        exit 1
    fi
    # The driver waits for "<name>.done" after announcing each picture; it
    # sees the Unix file system as drive Z:.
    QV_TOUR_SNAPSHOTS="Z:${shots//\//\\}"
    export QV_TOUR_SNAPSHOTS
    transcript="$shots/tour.log"

    echo "run-program.sh: tour on $DISPLAY: register C:\\Quorvalis\\Quorvalis.dll, call the client, reset"
    # The driver's lines end in CR LF; its passed checks go to the transcript only.
    echo "run-program.sh: the 32-bit program runs $QV_PLATFORM"
    timeout 120 "$QV_WINE" "$driver" tour 2>&1 | while IFS= read -r line; do
        line=${line%$'\r'}
        printf '%s\n' "$line" >>"$transcript"
        case $line in
        "[..] snapshot "*)
            read -r _ _ name x y width height <<<"$line"
            take_picture "$shots/$name.png" "$x" "$y" "$width" "$height"
            : >"$shots/$name.done"
            ;;
        "[ok] "*) ;;
        "[..] "*) printf '%s\n' "${line#\[..\] }" ;;
        *) printf '%s\n' "$line" ;;
        esac
    done
    status=${PIPESTATUS[0]}
    rm -f "$shots"/*.done

    if [ "$status" -ne 0 ]; then
        echo "run-program.sh: the tour failed (exit $status); full transcript in $transcript"
    fi
    if [ -f "$shots/2-registered.png" ] && [ ! -f "$repo/docs/window.png" ]; then
        mkdir -p "$repo/docs"
        cp "$shots/2-registered.png" "$repo/docs/window.png" &&
            echo "run-program.sh: saved docs/window.png"
    fi
    echo "run-program.sh: screenshots and the transcript are in $shots"
    exit "$status"
}

if [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ]; then
    run_for_operator
else
    play_tour
fi
