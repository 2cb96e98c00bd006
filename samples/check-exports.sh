#!/bin/sh
# Checks the binary interface of the sample libraries as the program and COM
# see it: DLLs for the toolchain's architecture, the exact undecorated exports
# of each library, imports from Windows system libraries only (the
# component-dep variant also from QuorvalisApoio.dll, which must lie beside it),
# and type libraries in the MSFT format.
#
# Usage: check-exports.sh OBJDUMP REGISTRAR ONLY_REGISTER ONLY_UNREGISTER COMPONENT TYPELIB COMPONENT_DEP
# Prints one line per check and exits non-zero when any check fails.
set -u
LC_ALL=C
export LC_ALL

if [ $# -ne 7 ]; then
    echo "usage: $0 OBJDUMP REGISTRAR ONLY_REGISTER ONLY_UNREGISTER COMPONENT TYPELIB COMPONENT_DEP" >&2
    exit 2
fi
objdump=$1
registrar=$2
only_register=$3
only_unregister=$4
component=$5
typelib=$6
component_dep=$7
component_dep_dir=$(dirname "$component_dep")

format=pei-i386 bits=32

# Libraries a sample may import: what every Windows installation has.
system_dlls="advapi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll user32.dll"

failures=0
pass() { echo "ok:   $*"; }
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Sorted, space-separated export names of a PE file ("" if it has none).
exported_names() {
    "$objdump" -p "$1" | awk '
        /^\[Ordinal\/Name Pointer\] Table/ { inside = 1; next }
        inside && /^[[:space:]]*$/ { inside = 0 }
        inside { sub(/^[[:space:]]*\[[[:space:]]*[0-9]+\][[:space:]]*/, ""); print }
    ' | sort | tr '\n' ' ' | sed 's/ $//'
}

# Imported DLL names of a PE file, lower case, one per line.
imported_dlls() {
    "$objdump" -p "$1" | sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p' | tr 'A-Z' 'a-z'
}

is_system_dll() {
    for allowed in $system_dlls; do
        [ "$1" = "$allowed" ] && return 0
    done
    return 1
}

# check_library FILE "EXPECTED EXPORTS (sorted)" [OWN_DEPENDENCY]
check_library() {
    file=$1
    expected=$2
    own=${3:-}
    if [ ! -f "$file" ]; then
        fail "$file does not exist"
        return
    fi
    header=$("$objdump" -p "$file" 2>&1)
    if printf '%s\n' "$header" | grep -q "file format $format\$" &&
        printf '%s\n' "$header" | grep -q '^[[:space:]]DLL$'; then
        pass "$file is a $bits-bit DLL"
    else
        fail "$file is not a $bits-bit Windows DLL"
    fi

    actual=$(exported_names "$file")
    if [ "$actual" = "$expected" ]; then
        pass "$file exports exactly: $expected"
    else
        fail "$file exports [$actual], expected exactly [$expected]"
    fi

    dlls=$(imported_dlls "$file")
    if [ -z "$dlls" ]; then
        fail "$file shows no imports at all"
        return
    fi
    foreign=""
    for dll in $dlls; do
        [ "$dll" = "$own" ] || is_system_dll "$dll" || foreign="$foreign $dll"
    done
    if [ -n "$own" ] && ! printf '%s\n' "$dlls" | grep -qx "$own"; then
        fail "$file does not import $own"
    fi
    if [ -z "$foreign" ]; then
        pass "$file imports only system libraries${own:+ and $own}:" $dlls
    else
        fail "$file imports non-system libraries:$foreign"
    fi
}

check_typelib() {
    file=$1
    if [ ! -f "$file" ]; then
        fail "$file does not exist"
        return
    fi
    signature=$(dd if="$file" bs=4 count=1 2>/dev/null)
    if [ "$signature" = "MSFT" ]; then
        pass "$file is a type library (MSFT)"
    else
        fail "$file does not start with the MSFT signature (got [$signature])"
    fi
}

check_library "$registrar" "DllRegisterServer DllUnregisterServer"
check_library "$only_register" "DllRegisterServer"
check_library "$only_unregister" "DllUnregisterServer"
check_library "$component" "DllCanUnloadNow DllGetClassObject Get_VersaoDLL"
check_typelib "$typelib"
check_library "$component_dep" "DllCanUnloadNow DllGetClassObject Get_VersaoDLL" quorvalisapoio.dll
check_library "$component_dep_dir/QuorvalisApoio.dll" "QuorvalisApoio_Versao"
check_typelib "$component_dep_dir/Quorvalis.tlb"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all checks passed"
