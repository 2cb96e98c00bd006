#!/usr/bin/env bash
# layers.sh <source-dir>: every #include under src/ points to its own layer
# or one below it. Top down: shell; install and registration; operator;
# companions. Prints each file's includes with their layers.
set -u
cd "$1/src" || exit 2
rank() {
    case $1 in
    shell) echo 0 ;;
    install | registration) echo 1 ;;
    operator) echo 2 ;;
    companions) echo 3 ;;
    *) echo 9 ;;
    esac
}
status=0
for file in */*; do
    own=${file%%/*}
    for include in $(sed -n 's/^#include "\(.*\)"/\1/p' "$file"); do
        target=$(realpath -m --relative-to=. "$own/$include")
        layer=${target%%/*}
        [ "$layer" = .. ] && continue # resources are no layer
        if [ "$(rank "$layer")" -lt "$(rank "$own")" ] || [ "$(rank "$layer")" = 9 ]; then
            echo "FAIL: $file includes $target, a layer above its own"
            status=1
        else
            echo "ok:   $file -> $target"
        fi
    done
done
exit $status
