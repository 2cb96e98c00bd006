#!/usr/bin/env bash
# wine-prefix.sh <win32-build-dir>
# Prepares the build tree's private WoW64 Wine prefix (see wine-env.sh) and
# lays the program out inside it.
# Safe to run again: the prefix is booted only once, the settings are
# rewritten and the program folders are copied afresh (the program changes
# between builds).
#
#   C:\REGQuorvalis\      program + registrar library
#   C:\qv-sem-ocx\        program alone (registrar library missing)
#   C:\qv-so-register\    program + registrar exporting only DllRegisterServer
#   C:\qv-so-unregister\  program + registrar exporting only DllUnregisterServer
#   C:\Quorvalis\         component library + type library, once they are built
#   C:\qv-client\         the component's script client (client-check.vbs)
#
# The registration cases make and empty their own folders (C:\Destino\,
# C:\qv-scratch\) as they start.
set -u

# The pieces bench/bench-prefix.sh shares; sourcing this script (after
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

registrar=REGQUORVALIS2.OCX
program="$QV_BUILD_DIR/REGQuorvalis.exe"
registrar_good="$QV_BUILD_DIR/samples/registrar/$registrar"
registrar_only_register="$QV_BUILD_DIR/samples/registrar-only-register/$registrar"
registrar_only_unregister="$QV_BUILD_DIR/samples/registrar-only-unregister/$registrar"
component_dir="$QV_BUILD_DIR/samples/component"
client_script="$here/../samples/component/client-check.vbs"

missing=0
for f in "$program" "$registrar_good" "$registrar_only_register" "$registrar_only_unregister"; do
    if [ ! -f "$f" ]; then
        echo "wine-prefix.sh: missing $f (build the win32 preset first)" >&2
        missing=1
    fi
done
[ $missing -eq 0 ] || exit 1

boot_prefix
import_settings "$QV_WINE_DIR/settings.reg"

drive_c="$WINEPREFIX/drive_c"

# The registrar variants share one file name, so each gets its own folder.
lay_out REGQuorvalis "$program" "$registrar_good"
lay_out qv-sem-ocx "$program"
lay_out qv-so-register "$program" "$registrar_only_register"
lay_out qv-so-unregister "$program" "$registrar_only_unregister"
if [ -f "$component_dir/Quorvalis.dll" ] && [ -f "$component_dir/Quorvalis.tlb" ]; then
    lay_out Quorvalis "$component_dir/Quorvalis.dll" "$component_dir/Quorvalis.tlb"
else
    rm -rf "$drive_c/Quorvalis"
fi
lay_out qv-client "$client_script"

# The program loads the registrar by its bare name, so a stray copy on the
# search path (system folders, say) would hide the "not found" start-up.
while IFS= read -r stray; do
    case $stray in
    "$drive_c/REGQuorvalis/"* | "$drive_c/qv-so-register/"* | "$drive_c/qv-so-unregister/"*) ;;
    *)
        echo "wine-prefix.sh: removing stray $stray"
        rm -f "$stray"
        ;;
    esac
done < <(find "$drive_c" -iname "$registrar" -type f)

echo "wine-prefix.sh: prefix ready at $WINEPREFIX"
