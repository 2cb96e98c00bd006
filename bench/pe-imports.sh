#!/usr/bin/env bash
# pe-imports.sh <objdump> <pe-file>
# One line per imported entry, "<DLL> <name>", or "<DLL> #<ordinal>" for an
# entry imported by ordinal, in the file's own order.
set -u

if [ $# -ne 2 ] || [ ! -f "$2" ]; then
    echo "usage: pe-imports.sh <objdump> <pe-file>" >&2
    exit 2
fi
"$1" -p "$2" | awk '
/^\tDLL Name: / { dll = $3; next }
# Entry rows: hint-table address, hint or ordinal, name ("<none>" by ordinal).
dll != "" && /^\t[0-9a-f]+\t +[0-9]+ +[^ ]+/ {
    print dll, ($3 == "<none>" ? "#" $2 : $3)
    next
}
/^$/ { dll = "" }
'
