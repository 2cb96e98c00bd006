#!/usr/bin/env bash
# Installs, only when missing, what building, running and testing need.
# Debian, as root (or through sudo when available). On a machine that runs
# no 32-bit code it also installs QEMU's user-mode emulator (version 8 or
# later, see wine-loader.sh), from the machine's own Debian mirror.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-loader.sh"

packages="cmake make g++ libgtest-dev g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools
          wine wine32:i386 wine64 libwine-dev xvfb xauth x11-utils imagemagick clang-format
          clang libclang-rt-dev python3 git openssl osslsigncode locales"

# Wine maps accented file names (C:\Automação Comercial\) to Unix names only
# under a UTF-8 locale that is really generated, not merely named.
generate_locale() {
    locale -a 2>/dev/null | grep -qix 'en_US\.utf-\?8' && return 0
    echo "Generating the en_US.UTF-8 locale"
    $sudo sed -i 's/^# *\(en_US.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^en_US.UTF-8 UTF-8' /etc/locale.gen || echo 'en_US.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null
}
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# The release's own suite carries qemu-user 8 or later from trixie on;
# bookworm has it only in its backports suite. That suite is read with a
# list of sources and an apt state of this run's own, so the machine's apt
# configuration stays as it was; apt then installs the downloaded package.
# Only qemu-user itself: its recommended qemu-user-binfmt would register
# emulators machine-wide.
install_qemu() {
    qv_cpu_runs_32bit && return 0
    qv_qemu_i386 >/dev/null && return 0
    local codename candidate mirror work
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    candidate=$(apt-cache policy qemu-user 2>/dev/null | sed -n 's/^ *Candidate: \([0-9]*:\)\?\([0-9]*\)\..*/\2/p')
    if [ -n "$candidate" ] && [ "$candidate" -ge "$QV_QEMU_MIN_MAJOR" ]; then
        echo "Installing: qemu-user (this machine runs no 32-bit code)"
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends qemu-user >/dev/null
        return 0
    fi
    mirror=$(apt-get indextargets --format '$(RELEASE) $(REPO_URI)' |
        awk -v suite="$codename" '$1 == suite { print $2; exit }')
    [ -n "$codename" ] && [ -n "$mirror" ] || {
        echo "install-deps.sh: no Debian mirror for \"$codename\" in the apt configuration" >&2
        exit 1
    }
    echo "Installing: qemu-user from $codename-backports (this machine runs no 32-bit code)"
    work=$(mktemp -d)
    mkdir -p "$work/lists/partial" "$work/cache/archives/partial"
    # apt downloads as its own unprivileged user where there is one.
    ! id _apt >/dev/null 2>&1 || $sudo chown -R _apt "$work"
    echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror $codename-backports main" \
        >"$work/sources.list"
    local own_state="-o Dir::Etc::SourceList=$work/sources.list -o Dir::Etc::SourceParts=/nonexistent
        -o Dir::State::Lists=$work/lists -o Dir::Cache=$work/cache"
    local status=0
    # shellcheck disable=SC2086
    if ! { $sudo apt-get $own_state -qq update &&
        (cd "$work" && $sudo apt-get $own_state -qq download qemu-user) &&
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
            "$work"/qemu-user_*.deb >/dev/null; }; then
        status=1
    fi
    $sudo rm -rf "$work"
    [ $status -eq 0 ] && qv_qemu_i386 >/dev/null || {
        echo "install-deps.sh: could not install qemu-user $QV_QEMU_MIN_MAJOR or later" >&2
        exit 1
    }
}

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
        missing="$missing $package"
    fi
done
if [ -z "$missing" ]; then
    generate_locale
    install_qemu
    exit 0
fi

echo "Installing:$missing"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
generate_locale
install_qemu
