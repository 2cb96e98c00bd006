#!/usr/bin/env bash
# readme-table.sh <readme> <table.md>
# Replaces what lies between the lines "<!-- bench:begin -->" and
# "<!-- bench:end -->" of <readme> with <table.md>, leaving every other line
# as it was. Exit 1, with the file untouched, unless each marker is there
# exactly once and in that order.
set -u

if [ $# -ne 2 ] || [ ! -f "$1" ] || [ ! -r "$2" ]; then
    echo "usage: readme-table.sh <readme> <table.md>" >&2
    exit 2
fi
readme=$1
table=$2
begin='<!-- bench:begin -->'
end='<!-- bench:end -->'

begins=$(grep -cxF "$begin" "$readme")
ends=$(grep -cxF "$end" "$readme")
begin_line=$(grep -nxF "$begin" "$readme" | cut -d: -f1)
end_line=$(grep -nxF "$end" "$readme" | cut -d: -f1)
if [ "$begins" != 1 ] || [ "$ends" != 1 ] || [ "$begin_line" -ge "$end_line" ]; then
    echo "readme-table.sh: $readme needs one \"$begin\" line before one \"$end\" line" >&2
    exit 1
fi

updated="$readme.bench-new"
{
    head -n "$begin_line" "$readme"
    cat "$table"
    tail -n "+$end_line" "$readme"
} >"$updated" && mv "$updated" "$readme"
