# shellcheck shell=bash
# Wine environment for running the win32 build; sourced, never executed:
#   [QV_PREFIX_ARCH=win32|win64] . scripts/wine-env.sh <win32-build-dir>
# Exports a prefix private to the build tree, a locale whose ANSI code page is
# 1252 (the program's texts are code page 1252), and a display.
# QV_PREFIX_ARCH picks the prefix: win32 (the default) is a 32-bit Windows;
# win64 is a 64-bit Windows where the 32-bit program runs under WoW64. Each
# has its own prefix, display and screenshots, so both can run at once.

if [ -z "${1:-}" ]; then
    echo "wine-env.sh: usage: . wine-env.sh <win32-build-dir>" >&2
    return 2 2>/dev/null || exit 2
fi

QV_BUILD_DIR=$(cd "$1" 2>/dev/null && pwd) || {
    echo "wine-env.sh: no build directory $1" >&2
    return 2 2>/dev/null || exit 2
}
QV_WINE_DIR="$QV_BUILD_DIR/wine"

case ${QV_PREFIX_ARCH:-win32} in
win32) QV_ARCH_SUFFIX= ;;
win64) QV_ARCH_SUFFIX=64 ;;
*)
    echo "wine-env.sh: QV_PREFIX_ARCH must be win32 or win64, not \"$QV_PREFIX_ARCH\"" >&2
    return 2 2>/dev/null || exit 2
    ;;
esac
# The driver reads it to add the checks that only a 64-bit Windows has.
QV_PREFIX_ARCH=${QV_PREFIX_ARCH:-win32}
# Written by xvfb.sh when it had to start a server of its own.
QV_DISPLAY_FILE="$QV_WINE_DIR/display$QV_ARCH_SUFFIX"
QV_XVFB_PID_FILE="$QV_WINE_DIR/xvfb$QV_ARCH_SUFFIX.pid"
QV_ARTIFACTS_DIR="$QV_BUILD_DIR/e2e-artifacts$QV_ARCH_SUFFIX"
export QV_BUILD_DIR QV_WINE_DIR QV_PREFIX_ARCH QV_ARCH_SUFFIX QV_DISPLAY_FILE QV_XVFB_PID_FILE
export QV_ARTIFACTS_DIR

if [ "$QV_PREFIX_ARCH" = win64 ]; then
    export WINEPREFIX="$QV_WINE_DIR/prefix64"
else
    export WINEPREFIX="$QV_WINE_DIR/prefix32"
fi
export WINEARCH="$QV_PREFIX_ARCH"
export WINEDEBUG=-all

# Under either locale Wine takes en-US, ANSI code page 1252, with UTF-8 Unix
# file names; the driver checks GetACP() before each case.
if locale -a 2>/dev/null | grep -qix 'en_US\.utf-\?8'; then
    export LANG=en_US.UTF-8
else
    export LANG=C.UTF-8
fi
unset LC_ALL LC_CTYPE LC_MESSAGES

# The program is 32-bit, so every run goes through Wine's 32-bit loader, which
# a kernel without 32-bit (IA32) emulation cannot execute ("Exec format
# error"), also on a 64-bit prefix. Callers skip or refuse their work then.
qv_runs_32bit() {
    wine --version >/dev/null 2>&1
}
QV_NO_32BIT="this machine cannot run 32-bit programs (Wine's 32-bit loader fails: no IA32 emulation in its kernel), so no 32-bit program can run under Wine here"

if [ -z "${DISPLAY:-}" ] && [ -s "$QV_DISPLAY_FILE" ]; then
    DISPLAY=$(cat "$QV_DISPLAY_FILE")
    export DISPLAY
fi
