#!/usr/bin/env bash
# wine-prefix.sh <win32-build-dir>
# Prepares the build tree's private WoW64 Wine prefix (see wine-env.sh) and
# lays the program out inside it.
# Safe to run again: the prefix is booted only once, the settings are
# rewritten and the program folders are copied afresh (the program changes
# between builds).
#
#   C:\REGQuorvalis\  program + registrar library
#   C:\Quorvalis\     component library + type library
#   C:\qv-client\     the component's script client (client-check.vbs)
set -u

# The pieces tests/run-cases.sh shares; sourcing this script (after
# wine-env.sh) defines them and does nothing else.
fail() {
    echo "$(basename "$0"): $*" >&2
    exit 1
}

# boot_prefix: makes $WINEPREFIX once.
boot_prefix() {
    mkdir -p "$QV_WINE_DIR"
    [ "$QV_WINE_READY" = 1 ] || fail "$QV_LOADER_PROBLEM"
    if [ ! -f "$WINEPREFIX/.update-timestamp" ]; then
        echo "$(basename "$0"): making $WINEPREFIX"
        qv_fresh_prefix "$QV_WINE_DIR" ||
            fail "wineboot failed, timed out or left no 32-bit side (is wine32 installed?)"
    fi
}

# import_settings <reg-file>: without a window manager every hide or destroy
# of a managed window stalls for two seconds; "Lucida Console", the dialog's
# font, is not installed.
import_settings() {
    local monospace="Courier New"
    if fc-list 2>/dev/null | grep -q "DejaVu Sans Mono"; then
        monospace="DejaVu Sans Mono"
    fi
    cat >"$1" <<EOF
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]
"Lucida Console"="$monospace"
EOF
    timeout 60 "$QV_WINE" regedit /S "$1" || fail "could not import $1"
}

# lay_out <folder under C:\> <file>...: the folder holds exactly these files.
lay_out() {
    local dir="$WINEPREFIX/drive_c/$1"
    shift
    rm -rf "$dir"
    mkdir -p "$dir"
    cp -f "$@" "$dir/" || fail "could not copy into $dir"
}

[ "${BASH_SOURCE[0]}" = "$0" ] || return 0

if [ $# -ne 1 ]; then
    echo "usage: wine-prefix.sh <win32-build-dir>" >&2
    exit 2
fi
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/wine-env.sh" "$1" || exit 2

program="$QV_BUILD_DIR/REGQuorvalis.exe"
registrar="$QV_BUILD_DIR/samples/registrar/REGQUORVALIS2.OCX"
component_dir="$QV_BUILD_DIR/samples/component"
[ -f "$program" ] && [ -f "$registrar" ] || fail "missing $program or $registrar (build the win32 preset first)"

boot_prefix
import_settings "$QV_WINE_DIR/settings.reg"
lay_out REGQuorvalis "$program" "$registrar"
lay_out Quorvalis "$component_dir/Quorvalis.dll" "$component_dir/Quorvalis.tlb"
lay_out qv-client "$here/../samples/component/client-check.vbs"
echo "wine-prefix.sh: prefix ready at $WINEPREFIX"
