# shellcheck shell=bash
# Wine environment for running the win32 build; sourced, never executed:
#   . scripts/wine-env.sh <win32-build-dir>
# Exports a WoW64 prefix private to the build tree (a 64-bit Windows, where
# the 32-bit program runs as operators run it), the loader that runs it on
# this machine (QV_WINE, see wine-loader.sh), a locale whose ANSI code page
# is 1252 (the program's texts are code page 1252).
# QV_WINE_READY is 1 when the loader is usable; otherwise QV_LOADER_PROBLEM
# says why, and callers fail with it.

if [ -z "${1:-}" ]; then
    echo "wine-env.sh: usage: . wine-env.sh <win32-build-dir>" >&2
    return 2 2>/dev/null || exit 2
fi

QV_BUILD_DIR=$(cd "$1" 2>/dev/null && pwd) || {
    echo "wine-env.sh: no build directory $1" >&2
    return 2 2>/dev/null || exit 2
}
QV_WINE_DIR="$QV_BUILD_DIR/wine"
export QV_BUILD_DIR QV_WINE_DIR

export WINEPREFIX="$QV_WINE_DIR/prefix"
export WINEARCH=win64
export WINEDEBUG=-all

# Under either locale Wine takes en-US, ANSI code page 1252, with UTF-8 Unix
# file names; the driver checks GetACP() before each case.
if locale -a 2>/dev/null | grep -qix 'en_US\.utf-\?8'; then
    export LANG=en_US.UTF-8
else
    export LANG=C.UTF-8
fi
unset LC_ALL LC_CTYPE LC_MESSAGES

. "$(dirname "${BASH_SOURCE[0]}")/wine-loader.sh"
mkdir -p "$QV_WINE_DIR"
QV_WINE_READY=0
qv_use_wine_loader "$QV_WINE_DIR/loader" && QV_WINE_READY=1
