#!/usr/bin/env bash
# fresh-debian.sh <release> [runs]
# Plays a newcomer on a fresh Debian <release> (bookworm, trixie, ...): makes
# a minimal system of that release with debootstrap, installs git and make
# there as the README says, clones this repository's HEAD into it, and runs
# `make test` <runs> times in a row (5 unless given), then `make run`, each
# timed. After each command, a process still running inside the system is a
# failure of that command: a suite must leave nothing behind.
#
# As root on Debian, with the network to the Debian archive. QV_EMULATE=1 is
# passed on. The system lives under /var/tmp/qv-fresh/<release>
# (QV_FRESH_DIR) and is removed at the end; QV_FRESH_KEEP=1 keeps it, and a
# later run reuses it (a fresh clone still, and the install step a no-op).
# Exit code: 0 when every command passed, 1 otherwise, 2 when the system
# could not be made.
set -u
release=${1:?usage: fresh-debian.sh <release> [runs]}
runs=${2:-5}
mirror=${QV_FRESH_MIRROR:-http://deb.debian.org/debian}
root=${QV_FRESH_DIR:-/var/tmp/qv-fresh/$release}
repo=$(git -C "$(dirname "$0")" rev-parse --show-toplevel) || exit 2
mounts="proc sys dev dev/pts dev/shm"
checkout=opt/regquorvalis # the clone, inside the made system

say() { printf 'fresh-debian.sh: %s\n' "$*"; }

# The processes whose root is the system's.
inside() {
    local proc
    for proc in /proc/[0-9]*; do
        [ "$(readlink "$proc/root" 2>/dev/null)" = "$root" ] && echo "${proc#/proc/}"
    done
}

# Lists what a command left running, then ends it; false when there was any.
nothing_left() {
    local pids pid
    sleep 2 # the suites' own clean-up runs as they exit
    pids=$(inside)
    [ -z "$pids" ] && return 0
    for pid in $pids; do
        say "left running: $pid $(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | cut -c1-120)"
    done
    kill -9 $pids 2>/dev/null
    return 1
}

unmount_all() {
    local pids mount
    pids=$(inside)
    [ -z "$pids" ] || kill -9 $pids 2>/dev/null
    for mount in $(echo "$mounts" | tr ' ' '\n' | tac); do
        mountpoint -q "$root/$mount" && { umount "$root/$mount" || umount -l "$root/$mount"; }
    done
}

# Removal only once nothing is mounted below: a bound /dev must never be emptied.
remove_system() {
    if grep -q " $root/" /proc/mounts; then
        say "$root still has mounts; left in place"
        return
    fi
    rm -rf --one-file-system "$root"
}

finish() {
    unmount_all
    [ "${QV_FRESH_KEEP:-0}" = 1 ] || remove_system
}

[ "$(id -u)" -eq 0 ] || { say "run as root (debootstrap, chroot and mounts)"; exit 2; }
command -v debootstrap >/dev/null || apt-get install -y -qq debootstrap >/dev/null ||
    { say "cannot install debootstrap"; exit 2; }
trap finish EXIT

start=$(date +%s)
if [ ! -f "$root/.qv-fresh" ]; then
    unmount_all
    remove_system
    say "making a minimal $release under $root"
    mkdir -p "$(dirname "$root")"
    debootstrap --variant=minbase "$release" "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
        { say "debootstrap failed (see $root.debootstrap.log)"; exit 2; }
    touch "$root/.qv-fresh"
fi
mount -t proc proc "$root/proc" && mount -t sysfs sys "$root/sys" &&
    mount --bind /dev "$root/dev" && mount -t devpts -o newinstance,ptmxmode=0666 devpts "$root/dev/pts" &&
    mount -t tmpfs shm "$root/dev/shm" || { say "cannot mount the system's file systems"; exit 2; }
cp /etc/resolv.conf "$root/etc/resolv.conf"
rm -rf "${root:?}/$checkout"
git clone -q --no-hardlinks "$repo" "$root/$checkout" || exit 2
say "system ready in $(($(date +%s) - start)) s: $(cat "$root/etc/debian_version"), $(git -C "$repo" log -1 --format=%h)"

# within <command>: runs it inside, as root in the clone, with a clean environment.
within() {
    chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb PATH=/usr/sbin:/usr/bin:/sbin:/bin \
        ${QV_EMULATE:+QV_EMULATE=$QV_EMULATE} bash -c "cd /$checkout && $1"
}

# timed <label> <command>: its outcome and time on one line, its output to a log.
failures=0
timed() {
    local log="$root.$1.log" begin status
    begin=$(date +%s)
    within "$2" >"$log" 2>&1
    status=$?
    nothing_left || status=1
    # What a suite killed at its limit left running (see end-suite.sh).
    cat "$root/$checkout"/build/win32/wine/*.left >>"$log" 2>/dev/null
    say "$1: $([ $status -eq 0 ] && echo passed || echo "FAILED (see $log)") in $(($(date +%s) - begin)) s"
    [ $status -eq 0 ] || failures=$((failures + 1))
}

# What a newcomer installs before the README's commands.
timed install 'apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq git make >/dev/null'
for run in $(seq "$runs"); do
    timed "test-$run" 'make test'
done
timed run 'make run'
say "$release: $failures of $((runs + 2)) failed"
[ $failures -eq 0 ]
