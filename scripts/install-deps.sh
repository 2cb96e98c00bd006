#!/usr/bin/env bash
# Installs, only when missing, what building, running and testing need.
# Debian, as root (or through sudo when available).
set -eu

packages="cmake make g++ libgtest-dev g++-mingw-w64-i686 mingw-w64-tools
          wine wine32:i386 wine64 libwine-dev xvfb xauth imagemagick clang-format
          clang libclang-rt-dev python3 git openssl osslsigncode"

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
        missing="$missing $package"
    fi
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
