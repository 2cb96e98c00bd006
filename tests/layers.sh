#!/usr/bin/env bash
# layers.sh <source-dir>: every #include "..." under src/ points to its own
# layer or one below it. Top down: shell; install and registration;
# operator; companions. Prints each file's includes; res/ is no layer.
set -u
cd "$1/src" || exit 2
declare -A rank=([shell]=0 [install]=1 [registration]=1 [operator]=2 [companions]=3)
status=0
for file in */*; do
    for include in $(sed -n 's/^#include "\(.*\)"/\1/p' "$file"); do
        target=$(realpath -m --relative-to=. "${file%%/*}/$include")
        layer=${target%%/*}
        [ "$layer" = .. ] && continue
        # A folder that is no layer may neither be included (-1) nor include (4).
        if ((${rank[$layer]:--1} >= ${rank[${file%%/*}]:-4})); then
            echo "ok:   $file -> $target"
        else
            echo "FAIL: $file includes $target, a layer above its own" && status=1
        fi
    done
done
exit $status
