#!/usr/bin/env bash
# run-bench.sh <win32-build-dir> <busy-wait-build-dir> <report.md> [<README.md>]
# Runs the rounds of bench.txt under Wine (the program and its baselines side
# by side), prints the table of medians and writes it to <report.md> and,
# given a README, between its bench markers.
set -u
if [ $# -lt 3 ]; then
    echo "usage: run-bench.sh <win32-build-dir> <busy-wait-build-dir> <report.md> [<README.md>]" >&2
    exit 2
fi
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$(cd "$1" && pwd) && busy=$(cd "$2" && pwd) || exit 2
report=$3
readme=${4:-}
files=$build/bench/files
rm -rf "$files" && mkdir -p "$files" || exit 1
cp "$busy/REGQuorvalis.exe" "$build/bench/qv-empty-dialog.exe" "$build/bench/qv-required-work.exe" \
    "$build/bench/qv-selfreg.dll" "$files/" || exit 1
export QV_BENCH_FILES="Z:${files//\//\\}"
# The rounds: each measures the program and its baselines side by side, the
# program first in odd rounds and last in even ones, so that none pays for its
# place. Each kind of round runs apart, after the one before has ended: a
# register request or the busy-wait baseline slows whatever follows it.
TIME_ROUNDS=40
IDLE_ROUNDS=5
in_order() { # in_order <round> <line>...: as given in odd rounds, reversed in even ones
    local round=$1
    shift
    if [ $((round % 2)) = 1 ]; then printf '%s\n' "$@"; else printf '%s\n' "$@" | tac; fi
}
script=$build/bench/bench.txt
{
    cat "$here/bench.txt"
    for round in $(seq "$TIME_ROUNDS"); do
        echo "case window-$round"
        in_order "$round" 'do WINDOW | $OURS | window-ours' 'do WINDOW | $EMPTY | window-baseline' \
            'do WINDOW | $REQUIRED | window-required'
    done
    for round in $(seq "$TIME_ROUNDS"); do
        echo "case register-$round"
        in_order "$round" 'do REGISTER | $OURS | /s "$HERE\Quorvalis.dll" | register-ours' \
            'do REGISTER | $REGSVR32 | /s C:\qv\bench\qv-selfreg.dll | register-baseline'
    done
    for round in $(seq "$IDLE_ROUNDS"); do
        echo "case idle-$round"
        in_order "$round" 'do IDLE | $OURS | idle-ours' 'do IDLE | $BUSY | idle-baseline'
    done
} >"$script" || exit 1
load=$(cut -d' ' -f1 /proc/loadavg)
log=$build/bench/rounds.log
bash "$here/../tests/run-cases.sh" "$build" "$script" | tr -d '\r' | tee "$log"
[ "${PIPESTATUS[0]}" = 0 ] || { echo "run-bench.sh: a round failed; nothing measured" >&2; exit 1; }

middle() {
    sort -n | awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
median() {
    sed -n "s/^BENCH $1 //p" "$log" | middle
}
# The median of the rounds' own ratios: a slow spell of the machine slows a
# whole round, and cancels out of its ratio.
paired() {
    paste <(sed -n "s/^BENCH $1 //p" "$log") <(sed -n "s/^BENCH $2 //p" "$log") |
        awk '$2 > 0 { print $1 / $2 }' | middle
}
row() { # row <figure> <ours> <baseline> <unit> <target ratio, or empty for a target in the unit> <target text> [<ratio>]
    awk -v f="$1" -v o="$2" -v b="$3" -v u="$4" -v t="$5" -v tt="$6" -v pr="${7:-}" 'BEGIN {
        r = pr != "" ? pr : b > 0 ? o / b : 0
        met = t != "" ? r <= t : o <= tt + 0
        printf "| %s | %.1f %s | %.1f %s | %.2f× | %s | %s |\n", f, o, u, b, u, r, (t != "" ? "≤ " t "×" : "≤ " tt " " u), (met ? "yes" : "no") }'
}
{
    printf 'Measured %s on %s, %s cores, %s, %s, load average %s at the start; %s. ' \
        "$(date -u '+%Y-%m-%d %H:%M UTC')" "$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)" \
        "$(nproc)" "$(. /etc/os-release && echo "$PRETTY_NAME")" "$(/usr/lib/wine/wine64 --version 2>/dev/null)" "$load" \
        "$(sed -n 's/^run-cases.sh: the 32-bit program runs/the 32-bit programs run/p' "$log")"
    printf 'Each figure is the median of %s rounds (the idle CPU of %s), and a time ratio the median of the rounds'"'"' own ratios; in each round the program and its baselines run side by side, the program first in odd rounds and last in even ones.\n\n' \
        "$TIME_ROUNDS" "$IDLE_ROUNDS"
    echo '| Figure | Ours | Baseline | Ratio | Target | Met? |'
    echo '|---|---|---|---|---|---|'
    row "Idle CPU over 3 s at the main window (baseline: the same program built with a non-blocking wait)" \
        "$(median idle-ours)" "$(median idle-baseline)" "% of a core" "" 1
    row "Time to window, process start to main dialog visible (baseline: a dialog of the same frame)" \
        "$(median window-ours)" "$(median window-baseline)" ms 1.2 "" "$(paired window-ours window-baseline)"
    row "Time to window (baseline: the window the operator must see, after the start-up work the program must do: the registrar's load, the title's version)" \
        "$(median window-ours)" "$(median window-required)" ms 1.05 "" "$(paired window-ours window-required)"
    row "Register request, \`/s\` start to exit (baseline: \`regsvr32 /s\` of a self-registering DLL)" \
        "$(median register-ours)" "$(median register-baseline)" ms 1.1 "" "$(paired register-ours register-baseline)"
    row "Stripped exe size (baseline: the empty-dialog program)" "$(($(stat -c %s "$build/REGQuorvalis.exe") / 1024))" \
        "$(($(stat -c %s "$build/bench/qv-empty-dialog.exe") / 1024))" KiB "" 100
} >"$report"
cat "$report"
# The README keeps one table for each way the 32-bit programs can run.
way=native
grep -q '^run-cases.sh: the 32-bit program runs natively' "$log" || way=emulated
if [ -n "$readme" ]; then
    awk -v table="$report" -v way="$way" '$0 == "<!-- bench:" way ":end -->" { while ((getline line < table) > 0) print line; skip = 0 }
        !skip { print } $0 == "<!-- bench:" way ":begin -->" { skip = 1 }' "$readme" >"$readme.new" &&
        mv "$readme.new" "$readme"
fi
