#!/usr/bin/env bash
# run-bench.sh <win32-build-dir> <busy-wait-build-dir> <report.md> [<README.md>]
# Measures the program under Wine and Xvfb against its baselines, prints the
# table and writes it, with the full import list, to <report.md>; given a
# README, also puts the table between its bench markers. The prefix and the
# display are the run's own, under <win32-build-dir>/bench, and both are
# stopped at the end.
# QV_BENCH_ROUNDS (default 5) sets the runs of the idle and register figures,
# QV_BENCH_WINDOW_ROUNDS (default 11) those of the time to window: starts are
# cheap and their times the noisiest. QV_BENCH_IDLE_SECONDS (default 10) is
# the idle period.
set -u

if [ $# -lt 3 ] || [ $# -gt 4 ]; then
    echo "usage: run-bench.sh <win32-build-dir> <busy-wait-build-dir> <report.md> [<README.md>]" >&2
    exit 2
fi
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
scripts="$here/../scripts"
build=$(cd "$1" 2>/dev/null && pwd) || {
    echo "run-bench.sh: no build directory $1" >&2
    exit 2
}
busy_build=$(cd "$2" 2>/dev/null && pwd) || {
    echo "run-bench.sh: no build directory $2" >&2
    exit 2
}
report=$3
readme=${4:-}
rounds=${QV_BENCH_ROUNDS:-5}
window_rounds=${QV_BENCH_WINDOW_ROUNDS:-11}
idle_seconds=${QV_BENCH_IDLE_SECONDS:-10}
state="$build/bench"
objdump=i686-w64-mingw32-objdump
strip=i686-w64-mingw32-strip
started=$(date +%s)
# Other work on the machine shows in the times: the report says how busy it was.
load_at_start=$(cut -d' ' -f1 /proc/loadavg)

mkdir -p "$state"
# Always a display of our own: a desktop's window manager would change what
# is measured.
unset DISPLAY
. "$scripts/wine-env.sh" "$state" || exit 2
[ "$QV_WINE_READY" = 1 ] || {
    echo "run-bench.sh: nothing to measure: $QV_LOADER_PROBLEM" >&2
    exit 1
}
echo "run-bench.sh: the 32-bit programs run $QV_PLATFORM"

bash "$scripts/xvfb.sh" start "$state" || exit 1
. "$scripts/wine-env.sh" "$state" || exit 2
stop_all() {
    # WINEPREFIX names this run's server only.
    timeout 10 wineserver -k 2>/dev/null
    bash "$scripts/xvfb.sh" stop "$state" >/dev/null
}
trap stop_all EXIT

bash "$here/bench-prefix.sh" "$state" "$build" "$busy_build" || exit 1
# Server start-up costs seconds: keep one server for the whole run.
timeout 10 wineserver -k 2>/dev/null
timeout 30 wineserver -w 2>/dev/null
timeout 10 wineserver -p60 </dev/null >/dev/null 2>&1 || exit 1
timeout 60 "$QV_WINE" cmd /c exit </dev/null >/dev/null 2>&1 || exit 1

samples="$state/samples.txt"
: >"$samples"
driver="$WINEPREFIX/drive_c/qv-bench/qv-bench.exe"
measure() { # measure <timeout seconds> <driver arguments>...
    local limit=$1
    shift
    # The driver's console lines end in CR LF.
    timeout "$limit" "$QV_WINE" "$driver" "$@" </dev/null 2>&1 | tr -d '\r' | tee -a "$samples"
    local status=${PIPESTATUS[0]}
    if [ "$status" -ne 0 ]; then
        echo "run-bench.sh: qv-bench $1 failed (status $status)" >&2
        exit 1
    fi
}
measure $((rounds * 2 * (idle_seconds + 30) + 60)) idle 'C:\REGQuorvalis\REGQuorvalis.exe' \
    'C:\qv-busy\REGQuorvalis.exe' "$rounds" "$idle_seconds"
measure $((window_rounds * 40 + 60)) window 'C:\REGQuorvalis\REGQuorvalis.exe' \
    'C:\qv-bench\qv-empty-dialog.exe' "$window_rounds"
measure $((rounds * 90 + 120)) register 'C:\REGQuorvalis\REGQuorvalis.exe' \
    'C:\Quorvalis\Quorvalis.dll' 'C:\qv-bench\selfreg\qv-selfreg.dll' "$rounds"

# Sizes of stripped copies, whatever the link options of the day.
for subject in ours baseline; do
    source_exe="$build/REGQuorvalis.exe"
    [ "$subject" = baseline ] && source_exe="$build/bench/qv-empty-dialog.exe"
    "$strip" -o "$state/$subject-stripped.exe" "$source_exe" || exit 1
    echo "SIZE $subject $(stat -c %s "$state/$subject-stripped.exe")" >>"$samples"
done
imports="$state/imports.txt"
bash "$here/pe-imports.sh" "$objdump" "$state/ours-stripped.exe" >"$imports" || exit 1
summary=$(awk '{ n[$1]++; if (!($1 in seen)) { seen[$1] = 1; order[++k] = $1 } }
    END { for (i = 1; i <= k; i++) printf "%s%s (%d)", (i > 1 ? ", " : ""), order[i], n[order[i]] }' \
    "$imports")
echo "IMPORTS ours $summary" >>"$samples"

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
os=$(. /etc/os-release 2>/dev/null && echo "$PRETTY_NAME")
machine="${cpu:-unknown CPU}, $(nproc) cores, ${os:-unknown system}, $("$QV_WINE" --version)"
machine="$machine, load average $load_at_start at the start, the 32-bit programs run $QV_PLATFORM"
table="$state/table.md"
bash "$here/report.sh" "$samples" "$(date -u '+%Y-%m-%d %H:%M UTC')" "$machine" >"$table" || exit 1

mkdir -p "$(dirname "$report")"
{
    echo "# Measurements of REGQuorvalis.exe"
    echo
    cat "$table"
    echo
    echo "## Import list of the stripped exe"
    echo
    awk '$1 != dll { if (dll != "") print ""; dll = $1; printf "- %s:", dll; sep = " " }
        { printf "%s%s", sep, $2; sep = ", " } END { if (dll != "") print "" }' "$imports"
} >"$report"
echo
cat "$table"
echo
echo "run-bench.sh: report written to $report"
if [ -n "$readme" ]; then
    bash "$here/readme-table.sh" "$readme" "$table" || exit 1
    echo "run-bench.sh: table written into $readme"
fi
echo "run-bench.sh: done in $(($(date +%s) - started)) s"
