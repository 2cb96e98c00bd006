#!/usr/bin/env bash
# Runs the sample libraries for real under Wine, in a fresh prefix: the
# registrar's record, its failure switch and its call counters through
# regsvr32; the broken variants' missing entries; and the component through a
# script client, once finding its type library beside the DLL, once only
# through the type library's registration, and once as the component-dep
# variant, whose own dependency lies beside it.
#
# Usage: check-under-wine.sh WINE_DIR REGISTRAR ONLY_REGISTER ONLY_UNREGISTER COMPONENT TYPELIB CLIENT_VBS VERSION COMPONENT_DEP
# WINE_DIR holds the build's Wine loader and prefix template; the prefix is
# made afresh as WINE_DIR/samples. VERSION is the text the
# component must report. The prefix is a WoW64 one and every tool is the
# 32-bit one from its syswow64, started through the 64-bit loader (see
# scripts/wine-loader.sh). Exits non-zero when any check fails.
set -u
LC_ALL=C
export LC_ALL

if [ $# -ne 9 ]; then
    echo "usage: $0 WINE_DIR REGISTRAR ONLY_REGISTER ONLY_UNREGISTER COMPONENT TYPELIB CLIENT_VBS VERSION COMPONENT_DEP" >&2
    exit 2
fi
wine_dir=$1
prefix=$wine_dir/samples
version=$8

WINEPREFIX=$prefix
WINEARCH=win64
WINEDEBUG=-all
export WINEPREFIX WINEARCH WINEDEBUG

. "$(dirname "$0")/../scripts/wine-loader.sh"
if ! qv_use_wine_loader "$wine_dir/loader"; then
    echo "FAIL: $QV_LOADER_PROBLEM"
    exit 1
fi
wine=$QV_WINE
echo "the 32-bit libraries run $QV_PLATFORM"
syswow64='C:\windows\syswow64'

if ! qv_fresh_prefix "$wine_dir"; then
    echo "FAIL: cannot create the Wine prefix $prefix"
    exit 1
fi
trap 'wineserver -k >/dev/null 2>&1' EXIT

# Each library in its own folder, as the build lays them out.
drive=$prefix/drive_c
for folder in registrar only-register only-unregister component component-alone component-dep \
    component-dep-alone; do
    mkdir -p "$drive/$folder"
done
cp "$2" "$drive/registrar/"
cp "$3" "$drive/only-register/"
cp "$4" "$drive/only-unregister/"
cp "$5" "$6" "$drive/component/"
cp "$5" "$drive/component-alone/"
cp "$(dirname "$9")"/* "$drive/component-dep/"
cp "$9" "$6" "$drive/component-dep-alone/"
cp "$7" "$drive/client-check.vbs"

failures=0
pass() { echo "ok:   $*"; }
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

run_wine() { timeout 60 "$wine" "$@" 2>&1 | tr -d '\r'; }
reg() { run_wine "$syswow64\\reg.exe" "$@"; }
regsvr32() { timeout 60 "$wine" "$syswow64\\regsvr32.exe" "$@" >/dev/null 2>&1; }

# "TYPE DATA" of a registry value, or nothing when the key or value is absent.
reg_value() {
    reg query "$1" /v "$2" |
        awk -v name="$2" '$1 == name { $1 = ""; sub(/^ +/, ""); sub(/ +/, " "); print }'
}

# expect_value DESCRIPTION KEY NAME "TYPE DATA" (an empty expectation means absent)
expect_value() {
    actual=$(reg_value "$2" "$3")
    if [ "$actual" = "$4" ]; then
        pass "$1"
    else
        fail "$1: $2 [$3] is [$actual], expected [$4]"
    fi
}

# expect_exit DESCRIPTION zero|nonzero COMMAND...
expect_exit() {
    description=$1
    expectation=$2
    shift 2
    "$@" >/dev/null 2>&1
    status=$?
    if { [ "$expectation" = zero ] && [ $status -eq 0 ]; } ||
        { [ "$expectation" = nonzero ] && [ $status -ne 0 ]; }; then
        pass "$description (exit $status)"
    else
        fail "$description: exit $status, expected $expectation"
    fi
}

samples='HKLM\Software\QuorvalisSamples'
record="$samples\\Registrar"
control="$samples\\Control"
calls="$samples\\Calls"
registrar='C:\registrar\REGQUORVALIS2.OCX'

# --- Registrar --------------------------------------------------------------

expect_exit "unregister with nothing recorded succeeds" zero regsvr32 /s /u "$registrar"
expect_exit "register succeeds" zero regsvr32 /s "$registrar"
expect_value "register records Registered = 1" "$record" Registered "REG_SZ 1"
expect_exit "unregister succeeds" zero regsvr32 /s /u "$registrar"
expect_value "unregister removes the record" "$record" Registered ""

# Each failure switch form, then a switch that is off; the record must follow.
for form in "REG_DWORD 1 nonzero" "REG_SZ 1 nonzero" "REG_DWORD 0 zero" "REG_SZ 0 zero"; do
    set -- $form
    reg delete "$record" /f >/dev/null
    reg add "$control" /v FailRegister /t "$1" /d "$2" /f >/dev/null
    expect_exit "register with FailRegister $1 $2 exits $3" "$3" regsvr32 /s "$registrar"
    if [ "$3" = nonzero ]; then
        expect_value "failed register records nothing" "$record" Registered ""
    else
        expect_value "register with the switch off records" "$record" Registered "REG_SZ 1"
    fi
done
expect_exit "unregister leaves the control key alone" zero regsvr32 /s /u "$registrar"
expect_value "control key survives unregister" "$control" FailRegister "REG_SZ 0"
# 1 + 4 registrations, 1 + 1 + 1 unregistrations, failing ones included.
expect_value "every register call is counted" "$calls" DllRegisterServer "REG_DWORD 0x5"
expect_value "every unregister call is counted" "$calls" DllUnregisterServer "REG_DWORD 0x3"

# --- Broken registrar variants ------------------------------------------------

reg delete "$control" /f >/dev/null
expect_exit "register-only variant registers" zero \
    regsvr32 /s 'C:\only-register\REGQUORVALIS2.OCX'
expect_exit "register-only variant has no unregister entry" nonzero \
    regsvr32 /s /u 'C:\only-register\REGQUORVALIS2.OCX'
expect_exit "unregister-only variant has no register entry" nonzero \
    regsvr32 /s 'C:\only-unregister\REGQUORVALIS2.OCX'
expect_exit "unregister-only variant unregisters" zero \
    regsvr32 /s /u 'C:\only-unregister\REGQUORVALIS2.OCX'
expect_value "unregister-only variant removed the record" "$record" Registered ""

# --- Component ----------------------------------------------------------------

classes='HKLM\Software\Classes'
clsid='{5D0E3C71-9A4B-4F26-B3E8-71C2A94D06F5}'
libid='{C84A1F39-2E6D-4B07-9F51-0A7E3D62B8C4}'
description='Quorvalis comunica com o SAT VORAN'

# register_class LIBRARY_PATH: the six values an installation writes.
register_class() {
    reg add "$classes\\Quorvalis.dll.object" /ve /d "$description" /f &&
        reg add "$classes\\Quorvalis.dll.object\\CLSID" /ve /d "$clsid" /f &&
        reg add "$classes\\CLSID\\$clsid" /ve /d "$description" /f &&
        reg add "$classes\\CLSID\\$clsid\\InprocServer32" /ve /d "$1" /f &&
        reg add "$classes\\CLSID\\$clsid\\InprocServer32" /v ThreadingModel /d both /f &&
        reg add "$classes\\CLSID\\$clsid\\ProgID" /ve /d Quorvalis.dll.object /f
}

# expect_client DESCRIPTION ok|failed: runs the script client and checks its verdict line.
expect_client() {
    timeout 60 "$wine" "$syswow64\\cscript.exe" //nologo 'C:\client-check.vbs' "$version" >"$prefix/client.out" 2>&1
    status=$?
    output=$(tr -d '\r' <"$prefix/client.out")
    case "$2:$status:$output" in
    "ok:0:QUORVALIS CLIENT OK Versao=[$version] Ecoar=[Quorvalis: teste de eco]") pass "$1" ;;
    failed:1:"QUORVALIS CLIENT FAILED: "*) pass "$1 ($output)" ;;
    *) fail "$1: exit $status, output [$output]" ;;
    esac
}

expect_client "client fails while nothing is registered" failed
register_class 'C:\component\Quorvalis.dll' >/dev/null
expect_client "client works with the type library beside the DLL" ok
register_class 'C:\component-alone\Quorvalis.dll' >/dev/null
expect_client "client fails without any type library" failed
reg add "$classes\\TypeLib\\$libid\\1.0\\0\\win32" /ve /d 'C:\component\Quorvalis.tlb' /f \
    >/dev/null
expect_client "client works through the registered type library" ok

# Loaded from a folder other than the current one, the variant needs the
# QuorvalisApoio.dll beside it: its Versao comes from there.
register_class 'C:\component-dep\Quorvalis.dll' >/dev/null
expect_client "component-dep variant finds its own dependency beside it" ok
register_class 'C:\component-dep-alone\Quorvalis.dll' >/dev/null
expect_client "component-dep variant fails without its dependency" failed

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all checks passed"
