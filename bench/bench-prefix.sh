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

. "$scripts/wine-prefix.sh"

program="$build/REGQuorvalis.exe"
busy_program="$busy_build/REGQuorvalis.exe"
registrar="$build/samples/registrar/REGQUORVALIS2.OCX"
component="$build/samples/component/Quorvalis.dll"
type_library="$build/samples/component/Quorvalis.tlb"
driver="$build/tests/e2e/qv-bench.exe"
empty_dialog="$build/bench/qv-empty-dialog.exe"
self_registering="$build/bench/qv-selfreg.dll"
for f in "$program" "$busy_program" "$registrar" "$component" "$type_library" "$driver" \
    "$empty_dialog" "$self_registering"; do
    [ -f "$f" ] || fail "missing $f (make bench builds it)"
done

boot_prefix
# As for the end-to-end tests.
import_settings "$QV_WINE_DIR/settings.reg"

lay_out REGQuorvalis "$program" "$registrar"
lay_out qv-busy "$busy_program" "$registrar"
lay_out Quorvalis "$component" "$type_library"
lay_out qv-bench "$driver" "$empty_dialog"
lay_out qv-bench/selfreg "$self_registering" "$type_library"
echo "bench-prefix.sh: prefix ready at $WINEPREFIX"
