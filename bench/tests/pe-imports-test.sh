#!/usr/bin/env bash
# pe-imports-test.sh <bench-dir> <objdump> <REGQuorvalis.exe>
# The import list as the report shows it, read from the real program: every
# DLL objdump names is there with its entries, names and ordinals apart.
set -u

if [ $# -ne 3 ] || [ ! -f "$3" ]; then
    echo "usage: pe-imports-test.sh <bench-dir> <objdump> <pe-file>" >&2
    exit 2
fi
bench=$1
objdump=$2
exe=$3
. "$(dirname "$0")/check.sh"

list=$(bash "$bench/pe-imports.sh" "$objdump" "$exe")
check "the list is read" $?

dlls=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
listed=$(echo "$list" | awk '{ print $1 }' | uniq)
[ -n "$dlls" ] && [ "$dlls" = "$listed" ]
check "every imported DLL, in the file's order, each once" $?

echo "$list" | awk 'NF != 2 { bad = 1 } END { exit bad }'
check "each line is one DLL and one entry" $?

# OLE Automation, the file dialogs and the version resources are loaded on
# first use, not imported; every entry is imported by name.
echo "$list" | awk 'toupper($1) ~ /^(OLEAUT32|COMDLG32|VERSION)\.DLL$/ { bad = 1 } END { exit bad }'
check "no OLEAUT32, COMDLG32 or VERSION imports" $?
echo "$list" | awk '$2 ~ /^#/ { bad = 1 } END { exit bad }'
check "entries are names" $?

while read -r dll entry; do
    echo "$list" | grep -qx "$dll $entry"
    check "$dll imports $entry" $?
done <<'ENTRIES'
USER32.dll MessageBoxA
ADVAPI32.dll RegCreateKeyExA
KERNEL32.dll LoadLibraryA
GDI32.dll GetStockObject
ENTRIES

check_summary
