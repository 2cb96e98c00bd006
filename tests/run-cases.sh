#!/usr/bin/env bash
# run-cases.sh <win32-build-dir> <script> [<part>]
# Runs a script of end-to-end cases (or a part of it: those whose names match
# $QV_CASES) in a WoW64 prefix of its own and on a display of its own, with
# the program, the sample libraries and the client laid out under C:\qv\,
# and prints the driver's report. Exit code: the driver's.
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
scripts=$here/../scripts
. "$scripts/wine-env.sh" "$1" || exit 2
script=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
export WINEPREFIX=$QV_WINE_DIR/cases-$(basename "$2" .txt)${3:+-$3}
. "$scripts/wine-prefix.sh"
. "$scripts/own-display.sh"
[ "$QV_WINE_READY" = 1 ] || fail "$QV_LOADER_PROBLEM"
qv_fresh_prefix "$QV_WINE_DIR" && rm -f "$WINEPREFIX.left" || fail "could not make the prefix $WINEPREFIX"
start_own_display "$WINEPREFIX"
# What the suite starts ends with it, even when CTest kills it at its time
# limit: a watcher apart from it ends the prefix's processes and the display
# once it is gone; the exit trap does so at once when it ends by itself.
end_suite=(env -u WINEPREFIX bash "$scripts/end-suite.sh" "$WINEPREFIX" "$OWN_XVFB_PID")
setsid -f "${end_suite[@]}" $$ </dev/null >/dev/null 2>&1
trap 'kill "$(cat "$WINEPREFIX.watcher" 2>/dev/null)" 2>/dev/null; "${end_suite[@]}"' EXIT
import_settings "$WINEPREFIX/settings.reg"

build=$QV_BUILD_DIR
samples=$build/samples
lay_out qv/bin "$build/REGQuorvalis-test.exe" "$build/REGQuorvalis.exe" "$samples/registrar/REGQUORVALIS2.OCX"
lay_out qv/sem-ocx "$build/REGQuorvalis-test.exe"
lay_out qv/only-register "$build/REGQuorvalis-test.exe" "$samples/registrar-only-register/REGQUORVALIS2.OCX"
lay_out qv/only-unregister "$build/REGQuorvalis-test.exe" "$samples/registrar-only-unregister/REGQUORVALIS2.OCX"
lay_out qv/samples/component "$samples/component/Quorvalis.dll" "$samples/component/Quorvalis.tlb"
lay_out qv/samples/component-dep "$samples"/component-dep/*
lay_out qv/planted "$build/planted/planted.dll"
for name in oleaut32 version; do cp "$build/planted/planted.dll" "$WINEPREFIX/drive_c/qv/planted/$name.dll"; done
cp "$here/../samples/component/client-check.vbs" "$WINEPREFIX/drive_c/qv/" || fail "could not copy the client"

# Links planted from the Linux side, as links.txt expects them: in sim
# symbolic links to the files of alvo, in duro a second name of one, and
# pasta a link to the folder.
qv=$WINEPREFIX/drive_c/qv
mkdir "$qv/alvo" "$qv/sim" "$qv/duro" && printf alvo | tee "$qv"/alvo/Quorvalis.{dll,tlb} >/dev/null
ln -s ../alvo/Quorvalis.dll ../alvo/Quorvalis.tlb "$qv/sim" && ln "$qv/alvo/Quorvalis.tlb" "$qv/duro" &&
    ln -s alvo "$qv/pasta" || fail "could not plant the links"

# What an engine deploys from, the shipped scripts with their line ends.
lay_out qv/origem "$build/REGQuorvalis.exe" "$samples/registrar/REGQUORVALIS2.OCX" "$samples"/component/Quorvalis.{dll,tlb}
for f in registrar.cmd detectar-configmgr.vbs; do sed 's/$/\r/' "$here/../docs/$f" >"$qv/origem/$f"; done

echo "run-cases.sh: the 32-bit program runs $QV_PLATFORM"
timeout 900 "$QV_WINE" "${QV_DRIVER:-$build/tests/qv-drive.exe}" "Z:${script//\//\\}"
