#!/usr/bin/env bash
# Runs one fuzz target for a fixed time, starting from its committed seeds.
# New inputs go to a corpus in the build tree, so the committed seeds stay as
# they are; libFuzzer prints the path of any crashing input it keeps under
# findings/.
# QV_FUZZ_SECONDS, when set, overrides the time (the long runs).
set -eu
fuzzer=$1
seeds=$2
dictionary=$3
work=$4
seconds=${QV_FUZZ_SECONDS:-$5}

mkdir -p "$work/corpus" "$work/findings"
export UBSAN_OPTIONS=print_stacktrace=1
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -dict="$dictionary" -artifact_prefix="$work/findings/" "$work/corpus" "$seeds"
