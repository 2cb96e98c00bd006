#!/usr/bin/env bash
# suite-timeout.sh <win32-build-dir>
# A suite that CTest ends at its time limit leaves nothing running. A CTest
# of this check's own runs a suite whose case starts a console program that
# runs for minutes (Wine's ping: it holds no display, so nothing ends it with
# the suite's) and then waits past the limit; afterwards no process of the
# suite's prefix may be alive. (Its display is the suite's child, which CTest
# ends itself.)
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$(cd "$1" && pwd) || exit 2
work=$build/suite-timeout
prefix=$build/wine/cases-sleeper
fail() {
    echo "suite-timeout.sh: $*"
    exit 1
}

# The shared prefix is booted before the clock starts.
(. "$here/../scripts/wine-env.sh" "$build" && qv_template "$QV_WINE_DIR") || fail "cannot boot the prefix"
rm -rf "$work" && mkdir -p "$work" || exit 2
cat >"$work/sleeper.txt" <<'EOF'
let PROGRAM C:\windows\system32\cmd.exe
case outlives-its-suite
start /c echo.>C:\qv\started & ping -n 600 127.0.0.1
box never | shown | * | ok
EOF
cat >"$work/CTestTestfile.cmake" <<EOF
add_test(sleeper bash "$here/run-cases.sh" "$build" "$work/sleeper.txt")
set_tests_properties(sleeper PROPERTIES TIMEOUT 30)
EOF
ctest --test-dir "$work" >"$work/ctest.log" 2>&1
grep -q '(Timeout)' "$work/ctest.log" || fail "the suite was not ended at its limit: $(cat "$work/ctest.log")"
[ -f "$prefix/drive_c/qv/started" ] || fail "the limit came before the case started its program"

# The watcher looks once a second, then ends the prefix's server first.
for _ in $(seq 15); do
    sleep 1
    left=$(grep -lzxF "WINEPREFIX=$prefix" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3 | paste -sd' ')
    [ -z "$left" ] && break
done
[ -z "$left" ] && exit 0
ps -o pid,args -p "$left" | cut -c1-120
kill -9 $left
fail "left running after the suite's timeout:$left"
