#!/usr/bin/env bash
# Fails unless every DLL the given PE file imports is one that Windows always
# takes from the system folder (a known DLL), so none can be planted beside it.
set -eu
objdump=$1
file=$2
allowed='^(KERNEL32|USER32|GDI32|ADVAPI32|msvcrt)\.dll$'
imports=$("$objdump" -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p')
[ -n "$imports" ] || { echo "no imports found in $file"; exit 1; }
status=0
while read -r dll; do
    if echo "$dll" | grep -qiE "$allowed"; then
        echo "ok: $dll"
    else
        echo "NOT A SYSTEM DLL: $dll"
        status=1
    fi
done <<<"$imports"
exit $status
