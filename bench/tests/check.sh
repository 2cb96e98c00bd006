# Sourced by the bench's shell tests: counts checks and prints each verdict.
failures=0
checks=0

check() { # check <what> <status: 0 = pass>
    checks=$((checks + 1))
    if [ "$2" -eq 0 ]; then
        echo "[ok] $1"
    else
        echo "[FAIL] $1"
        failures=$((failures + 1))
    fi
}

# The tally; the status is the test's result.
check_summary() {
    echo "$((checks - failures)) of $checks checks passed"
    [ "$failures" -eq 0 ]
}
