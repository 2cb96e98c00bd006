#!/usr/bin/env bash
# exe-imports.sh <objdump> <pe-file>: fails unless every DLL the file imports
# is one that Windows always takes from the system folder (a known DLL), so
# none can be planted beside it.
set -eu
imports=$("$1" -p "$2" | sed -n 's/^[[:space:]]*DLL Name: //p')
[ -n "$imports" ] || { echo "no imports found in $2"; exit 1; }
echo "imports:" $imports
others=$(grep -viE '^(KERNEL32|USER32|GDI32|ADVAPI32|msvcrt)\.dll$' <<<"$imports" || true)
[ -z "$others" ] || { echo "NOT SYSTEM DLLS:" $others; exit 1; }
