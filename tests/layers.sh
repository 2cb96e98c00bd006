#!/usr/bin/env bash
# layers.sh <source-dir>: every #include "..." under src/ points to its own
# layer or one below it. Top down: shell; install and registration;
# operator; companions. res/ is no layer.
set -u
cd "$1/src" || exit 2
declare -A rank=([shell]=0 [install]=1 [registration]=1 [operator]=2 [companions]=3)
status=0
for file in */*; do
    for include in $(sed -n 's/^#include "\(.*\)"/\1/p' "$file"); do
        target=$(realpath -m --relative-to=. "${file%%/*}/$include")
        layer=${target%%/*}
        # A folder that is no layer may neither be included (-1) nor include (4).
        [ "$layer" = .. ] || ((${rank[$layer]:--1} >= ${rank[${file%%/*}]:-4})) ||
            { echo "FAIL: $file includes $target, a layer above its own" && status=1; }
    done
done
[ $status = 1 ] || echo "ok: every source includes only its own layer and those below"
exit $status
