#!/usr/bin/env bash
# exe-resources.sh <windres> <program.exe> <version a.b.c.d>: the program's
# resources as windres decompiles them (the icon's pixels cut to the image
# header) must be exactly exe-resources.rc beside this script, with the
# project's version filled in.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
commas=$(echo "$3" | sed 's/\./, /g')
"$1" -i "$2" -O rc | awk '
    /^$/ { next }
    /RT_ICON/ { icon = 1 }
    icon && /^  0x/ { if (shown++) next }
    /^END/ { icon = 0 }
    { print }' >"${TMPDIR:-/tmp}/qv-resources.$$"
trap 'rm -f "${TMPDIR:-/tmp}/qv-resources.$$"' EXIT
sed -e "s/@VERSION@/$3/g" -e "s/@COMMAS@/$commas/g" "$here/exe-resources.rc" |
    diff -u - "${TMPDIR:-/tmp}/qv-resources.$$" && echo "PASS: resources as shipped"
