#!/usr/bin/env bash
# report.sh <samples> <date> <machine>
# Turns the driver's SAMPLE lines and the SIZE / IMPORTS lines of the run
# into the markdown table on stdout: the median of each side, the median of
# the per-run ratios, the target and whether it is met. A run measures the
# program and its baseline back to back, so a ratio taken within a run is
# spared a slow spell of the machine that a ratio of medians would take in. Exit 1, with the reason on stderr, when a
# figure is missing or its two sides have different numbers of runs.
set -u

if [ $# -ne 3 ] || [ ! -r "$1" ]; then
    echo "usage: report.sh <samples> <date> <machine>" >&2
    exit 2
fi

awk -v date="$2" -v machine="$3" '
function add(key, value) { values[key, ++count[key]] = value }

# Median of values[key, 1..n]: sorts a copy (insertion sort, portable awk).
function median(key,    n, i, j, v, sorted) {
    n = count[key]
    for (i = 1; i <= n; i++) {
        v = values[key, i]
        for (j = i - 1; j >= 1 && sorted[j] > v; j--) sorted[j + 1] = sorted[j]
        sorted[j + 1] = v
    }
    if (n % 2) return sorted[(n + 1) / 2]
    return (sorted[n / 2] + sorted[n / 2 + 1]) / 2
}

function need(key) {
    if (!(key in count)) { print "report.sh: no samples for " key > "/dev/stderr"; failed = 1 }
}

function sides(figure) {
    need(figure SUBSEP "ours"); need(figure SUBSEP "baseline")
    if (!failed && count[figure, "ours"] != count[figure, "baseline"]) {
        printf "report.sh: %s has %d runs of ours and %d of the baseline\n", figure,
            count[figure, "ours"], count[figure, "baseline"] > "/dev/stderr"
        failed = 1
    }
}

# Median of ours / baseline over the runs: the k-th sample of each side
# come from the same run. Runs with a zero baseline have no ratio.
function runRatio(figure,    k, key) {
    key = "ratio" SUBSEP figure
    for (k = 1; k <= count[figure, "ours"]; k++)
        if (values[figure, "baseline", k] > 0)
            add(key, values[figure, "ours", k] / values[figure, "baseline", k])
    if (!(key in count)) return -1
    return median(key)
}

function ratioText(r) {
    if (r < 0) return "n/a"
    if (r < 0.01) return "< 0.01×"
    return sprintf("%.2f×", r)
}

function ms(microseconds) {
    return sprintf(microseconds < 100000 ? "%.1f ms" : "%.0f ms", microseconds / 1000)
}

function row(label, ours, baseline, ratio, target, met) {
    printf "| %s | %s | %s | %s | %s | %s |\n", label, ours, baseline, ratio, target,
        met ? "yes" : "no"
}

# A timed figure whose target is at most 1.2 times its baseline; 1.2 has no
# exact binary form, so a ratio of exactly 1.2 must meet it.
function timeRow(figure, labelFormat,    r) {
    r = runRatio(figure)
    row(sprintf(labelFormat, count[figure, "ours"]), ms(median(figure SUBSEP "ours")),
        ms(median(figure SUBSEP "baseline")), ratioText(r), "≤ 1.2×", r >= 0 && r <= 1.2 + 1e-9)
}

$1 == "SAMPLE" && $2 == "idle-cpu" && NF == 5 && $5 > 0 {
    add("idle-cpu" SUBSEP $3, $4)
    add("idle-percent" SUBSEP $3, 100 * $4 / $5)
    add("idle-wall" SUBSEP $3, $5)
    next
}
$1 == "SAMPLE" && NF == 4 { add($2 SUBSEP $3, $4); next }
$1 == "SIZE" && NF == 3 { add("size" SUBSEP $2, $3); next }
$1 == "IMPORTS" && NF >= 3 { imports = $0; sub(/^IMPORTS [^ ]+ /, "", imports); next }

END {
    sides("idle-cpu"); sides("time-to-window"); sides("register-request"); sides("size")
    if (imports == "") { print "report.sh: no import list" > "/dev/stderr"; failed = 1 }
    if (failed) exit 1

    printf "Measured %s on %s, under Wine and Xvfb. In each run the program and its ", date, machine
    printf "baseline are measured side by side; each side shows the median of its runs, "
    print "the ratio is the median of the per-run ratios."
    print ""
    print "| Figure | Ours | Baseline | Ratio | Target | Met? |"
    print "|---|---|---|---|---|---|"

    cpu = median("idle-cpu" SUBSEP "ours") / 1000
    base = median("idle-cpu" SUBSEP "baseline") / 1000
    percent = median("idle-percent" SUBSEP "ours")
    label = sprintf("Idle CPU over %.0f s at the main window (baseline: the same program built " \
                    "with a non-blocking wait; %d runs)", median("idle-wall" SUBSEP "ours") / 1000,
                    count["idle-cpu", "ours"])
    row(label, sprintf("%.2f s (%.1f %% of a core)", cpu, percent),
        sprintf("%.2f s (%.1f %% of a core)", base, median("idle-percent" SUBSEP "baseline")),
        ratioText(runRatio("idle-cpu")), "≤ 1 % of a core", percent <= 1)

    timeRow("time-to-window", "Time to window, process start to main dialog visible " \
            "(baseline: an empty dialog from a template; %d runs)")
    timeRow("register-request", "Register request, last answer to success box (baseline: " \
            "`regsvr32 /s` of a self-registering DLL, start to exit; %d runs)")

    ours = median("size" SUBSEP "ours")
    base = median("size" SUBSEP "baseline")
    row("Stripped exe size (baseline: the empty-dialog program)", sprintf("%.1f KiB", ours / 1024),
        sprintf("%.1f KiB", base / 1024), ratioText(runRatio("size")), "≤ 100 KiB",
        ours <= 100 * 1024)

    print ""
    print "Imports of the stripped exe: " imports "."
}
' "$1"
