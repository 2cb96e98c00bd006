#!/usr/bin/env bash
# Installs, only when missing, what building, running and testing need.
# Debian, as root (or through sudo when available).
set -eu

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

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
        missing="$missing $package"
    fi
done
if [ -z "$missing" ]; then
    generate_locale
    exit 0
fi

echo "Installing:$missing"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
generate_locale
