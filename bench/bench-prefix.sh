#!/usr/bin/env bash
# bench-prefix.sh <state-dir> <win32-build-dir> <busy-wait-build-dir>
# Boots the measurement prefix (once) under <state-dir>/wine and lays out
# afresh what the driver runs:
#   C:\REGQuorvalis\      the program + registrar library
#   C:\qv-busy\           the busy-wait build of the program + registrar
#   C:\Quorvalis\         component library + type library
#   C:\qv-bench\          the driver + the empty-dialog program
#   C:\qv-bench\selfreg\  the self-registering library + the same type library
set -u

if [ $# -ne 3 ]; then
    echo "usage: bench-prefix.sh <state-dir> <win32-build-dir> <busy-wait-build-dir>" >&2
    exit 2
fi
scripts="$(cd "$(dirname "${BASH_SOURCE[0]}")/../scripts" && pwd)"
. "$scripts/wine-env.sh" "$1" || exit 2
build=$2
busy_build=$3

fail() {
    echo "bench-prefix.sh: $*" >&2
    exit 1
}

program="$build/REGQuorvalis.exe"
busy_program="$busy_build/REGQuorvalis.exe"
registrar="$build/samples/registrar/REGQUORVALIS2.OCX"
component="$build/samples/component/Quorvalis.dll"
type_library="$build/samples/component/Quorvalis.tlb"
driver="$build/bench/qv-bench.exe"
empty_dialog="$build/bench/qv-empty-dialog.exe"
self_registering="$build/bench/qv-selfreg.dll"
for f in "$program" "$busy_program" "$registrar" "$component" "$type_library" "$driver" \
    "$empty_dialog" "$self_registering"; do
    [ -f "$f" ] || fail "missing $f (make bench builds it)"
done

mkdir -p "$QV_WINE_DIR"
if [ ! -f "$WINEPREFIX/.update-timestamp" ]; then
    echo "bench-prefix.sh: booting $WINEPREFIX"
    # No Mono or Gecko installer prompt may block an unattended boot.
    WINEDLLOVERRIDES="mscoree,mshtml=" timeout 180 wineboot -i >/dev/null 2>&1 ||
        fail "wineboot failed or timed out"
fi
[ -d "$WINEPREFIX/drive_c/windows/system32" ] || fail "prefix $WINEPREFIX is incomplete"

# As for the end-to-end tests: without a window manager every hide or
# destroy of a managed window stalls two seconds, and the dialog's font is
# not installed.
monospace="Courier New"
if fc-list 2>/dev/null | grep -q "DejaVu Sans Mono"; then
    monospace="DejaVu Sans Mono"
fi
settings="$QV_WINE_DIR/settings.reg"
cat >"$settings" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]
"Lucida Console"="$monospace"
REG
timeout 60 wine regedit /S "$settings" || fail "could not import $settings"

drive_c="$WINEPREFIX/drive_c"
lay_out() { # lay_out <folder under C:\> <file>...
    local dir="$drive_c/$1"
    shift
    rm -rf "$dir"
    mkdir -p "$dir"
    cp -f "$@" "$dir/" || fail "could not copy into $dir"
}
lay_out REGQuorvalis "$program" "$registrar"
lay_out qv-busy "$busy_program" "$registrar"
lay_out Quorvalis "$component" "$type_library"
lay_out qv-bench "$driver" "$empty_dialog"
lay_out qv-bench/selfreg "$self_registering" "$type_library"
echo "bench-prefix.sh: prefix ready at $WINEPREFIX"
