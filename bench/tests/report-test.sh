#!/usr/bin/env bash
# report-test.sh <bench-dir>
# The report's arithmetic and verdicts on made-up samples, its refusals of
# incomplete runs, and the README update between the markers.
set -u

if [ $# -ne 1 ] || [ ! -f "$1/report.sh" ]; then
    echo "usage: report-test.sh <bench-dir>" >&2
    exit 2
fi
bench=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/check.sh"

# A complete, plausible run; each case overrides some of these.
defaults() {
    IDLE_OURS="0/10010 10/10000 0/10020 10/10000 0/10000"
    IDLE_BASE="6200/10000 6150/10000 6300/10000 6180/10000 6210/10000"
    WIN_OURS="250000 260000 255000 258000 251000"
    WIN_BASE="230000 231000 229000 232000 230000"
    REG_OURS="150000 152000 149000 151000 150000"
    REG_BASE="300000 301000 299000 302000 300000"
    SIZE_OURS=32768
    SIZE_BASE=15872
    IMPORTS="KERNEL32.dll (40), USER32.dll (30)"
}

emit() { # emit <figure> <subject> <value[/wall]>...
    local figure=$1 subject=$2
    shift 2
    for value in "$@"; do
        echo "SAMPLE $figure $subject ${value//\// }"
    done
}

write_samples() {
    {
        echo "# idle CPU, round 1 of 5 (10 s)"
        emit idle-cpu ours $IDLE_OURS
        emit idle-cpu baseline $IDLE_BASE
        emit time-to-window ours $WIN_OURS
        emit time-to-window baseline $WIN_BASE
        emit register-request ours $REG_OURS
        emit register-request baseline $REG_BASE
        [ -n "$SIZE_OURS" ] && echo "SIZE ours $SIZE_OURS"
        [ -n "$SIZE_BASE" ] && echo "SIZE baseline $SIZE_BASE"
        [ -n "$IMPORTS" ] && echo "IMPORTS ours $IMPORTS"
    } >"$1"
}

# report_with <assignments>: runs the report on the defaults so changed;
# the table in $work/table.md, the status in $status, stderr in $work/err.
report_with() {
    defaults
    eval "$1"
    write_samples "$work/samples"
    bash "$bench/report.sh" "$work/samples" "2026-01-02 03:04 UTC" "Test CPU, 2 cores" \
        >"$work/table.md" 2>"$work/err"
    status=$?
}

# Each row: case ; overrides ; start of the table row ; expected end of the row
while IFS=';' read -r name overrides row expected; do
    [ -z "$name" ] && continue
    report_with "$overrides"
    line=$(grep -F "| $row" "$work/table.md")
    [ "$status" -eq 0 ] && [ "${line%"$expected"}" != "$line" ]
    check "$name" $?
    [ "${line%"$expected"}" != "$line" ] || echo "    got: $line (status $status)"
done <<'CASES'
window: median of five, ratio exactly at the target;WIN_OURS="100000 300000 200000 500000 400000" WIN_BASE="250000 250000 250000 250000 250000";Time to window;| 300 ms | 250 ms | 1.20× | ≤ 1.2× | yes |
window: over the target though it rounds to 1.20;WIN_OURS="301000 301000 301000 301000 301000" WIN_BASE="250000 250000 250000 250000 250000";Time to window;| 301 ms | 250 ms | 1.20× | ≤ 1.2× | no |
window: even count takes the mean of the middle two;WIN_OURS="10000 90000 20000 30000" WIN_BASE="50000 50000 50000 50000";Time to window;| 25.0 ms | 50.0 ms | 0.50× | ≤ 1.2× | yes |
window: the ratio is taken within each run;WIN_OURS="100000 200000 300000" WIN_BASE="100000 400000 150000";Time to window;| 200 ms | 150 ms | 1.00× | ≤ 1.2× | yes |
register: outliers do not move the median;REG_OURS="150000 9000000 149000 151000 1000" REG_BASE="300000 301000 299000 302000 300000";Register request;| 150 ms | 300 ms | 0.50× | ≤ 1.2× | yes |
register: twice the baseline misses;REG_OURS="600000 600000 600000 600000 600000";Register request;| 600 ms | 300 ms | 2.00× | ≤ 1.2× | no |
idle: a waiting program against a polling one;;Idle CPU over 10 s;| 0.00 s (0.0 % of a core) | 6.20 s (62.0 % of a core) | < 0.01× | ≤ 1 % of a core | yes |
idle: exactly one percent of a core meets the target;IDLE_OURS="100/10000 100/10000 100/10000 100/10000 100/10000";Idle CPU over 10 s;| 0.10 s (1.0 % of a core) | 6.20 s (62.0 % of a core) | 0.02× | ≤ 1 % of a core | yes |
idle: just over one percent misses, though it prints the same;IDLE_OURS="101/10000 101/10000 101/10000 101/10000 101/10000";Idle CPU over 10 s;| 0.10 s (1.0 % of a core) | 6.20 s (62.0 % of a core) | 0.02× | ≤ 1 % of a core | no |
idle: the share is of the measured wall time;IDLE_OURS="110/11000 110/11000 110/11000 110/11000 110/11000";Idle CPU over 11 s;| 0.11 s (1.0 % of a core) | 6.20 s (62.0 % of a core) | 0.02× | ≤ 1 % of a core | yes |
idle: medians of each side;IDLE_OURS="0/10000 900/10000 20/10000 10/10000 30/10000" IDLE_BASE="3000/10000 6000/10000 6100/10000 6200/10000 1/10000";Idle CPU over 10 s;| 0.02 s (0.2 % of a core) | 6.00 s (60.0 % of a core) | < 0.01× | ≤ 1 % of a core | yes |
size: exactly 100 KiB meets the target;SIZE_OURS=102400;Stripped exe size;| 100.0 KiB | 15.5 KiB | 6.45× | ≤ 100 KiB | yes |
size: one byte more misses, though it prints the same;SIZE_OURS=102401;Stripped exe size;| 100.0 KiB | 15.5 KiB | 6.45× | ≤ 100 KiB | no |
CASES

# The header names the run, and the imports follow the table.
report_with ""
grep -q "^Measured 2026-01-02 03:04 UTC on Test CPU, 2 cores, under Wine and Xvfb. " "$work/table.md"
check "header: date and machine" $?
grep -qx "Imports of the stripped exe: KERNEL32.dll (40), USER32.dll (30)." "$work/table.md"
check "imports line after the table" $?
[ "$(grep -c '^|' "$work/table.md")" -eq 6 ]
check "header row, rule and four figures" $?

# Each figure names its own number of runs.
report_with 'WIN_OURS="1 2 3 4 5 6 7 8 9 10 11" WIN_BASE="1 2 3 4 5 6 7 8 9 10 11" REG_OURS="1 2 3" REG_BASE="1 2 3"'
grep -qF "template; 11 runs) |" "$work/table.md" && grep -qF "start to exit; 3 runs) |" "$work/table.md" &&
    grep -qF "non-blocking wait; 5 runs) |" "$work/table.md"
check "run counts per figure" $?

# Incomplete runs give no table at all.
while IFS=';' read -r name overrides message; do
    [ -z "$name" ] && continue
    report_with "$overrides"
    [ "$status" -eq 1 ] && [ ! -s "$work/table.md" ] && grep -qF "$message" "$work/err"
    check "$name" $?
done <<'CASES'
refused: no regsvr32 runs;REG_BASE="";no samples for register-request
refused: sides with different run counts;WIN_BASE="230000 231000 229000 232000";time-to-window has 5 runs of ours and 4 of the baseline
refused: no size of the exe;SIZE_OURS="";no samples for size
refused: no import list;IMPORTS="";no import list
CASES

# --- README update ----------------------------------------------------------
printf 'new table\nsecond line\n' >"$work/table.md"
cat >"$work/README.md" <<'TEXT'
# Title
Text before.
<!-- bench:begin -->
old table
<!-- bench:end -->
Text after, with <!-- bench:end --> inside a line.
TEXT
cat >"$work/expected.md" <<'TEXT'
# Title
Text before.
<!-- bench:begin -->
new table
second line
<!-- bench:end -->
Text after, with <!-- bench:end --> inside a line.
TEXT
bash "$bench/readme-table.sh" "$work/README.md" "$work/table.md" && cmp -s "$work/README.md" "$work/expected.md"
check "readme: only the lines between the markers change" $?
bash "$bench/readme-table.sh" "$work/README.md" "$work/table.md" && cmp -s "$work/README.md" "$work/expected.md"
check "readme: a second update gives the same file" $?

while IFS=';' read -r name content; do
    [ -z "$name" ] && continue
    printf '%b' "$content" >"$work/bad.md"
    cp "$work/bad.md" "$work/bad.orig"
    bash "$bench/readme-table.sh" "$work/bad.md" "$work/table.md" 2>/dev/null
    [ $? -eq 1 ] && cmp -s "$work/bad.md" "$work/bad.orig"
    check "$name" $?
done <<'CASES'
readme refused: no markers;# Title\ntext\n
readme refused: no end marker;<!-- bench:begin -->\nold\n
readme refused: markers in the wrong order;<!-- bench:end -->\nold\n<!-- bench:begin -->\n
readme refused: two begin markers;<!-- bench:begin -->\n<!-- bench:begin -->\nold\n<!-- bench:end -->\n
CASES

check_summary
