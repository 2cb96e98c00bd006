#!/usr/bin/env bash
# Builds the release package from a win32 build tree:
#   DIST_DIR/REGQuorvalis-<version>.zip         the program and LEIA-ME.txt in
#                                               a folder of the same name
#   DIST_DIR/REGQuorvalis-<version>.zip.sha256  its checksum, sha256sum -c form
# The version is the project's, as the build wrote it. The guide is shipped
# as UTF-8 with a byte-order mark and CRLF line ends, which Notepad shows
# right on every Windows, whatever its code page.
# Usage: make-dist.sh BUILD_DIR DIST_DIR
set -eu
build=$1
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$2"
dist=$(cd "$2" && pwd)

version=$(cat "$build/version.txt")
name=REGQuorvalis-$version
exe=$build/REGQuorvalis.exe
[ -f "$exe" ] || { echo "no program at $exe: build the win32 preset first"; exit 1; }

staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT
mkdir "$staging/$name"
cp "$exe" "$staging/$name/REGQuorvalis.exe"
{
    printf '\357\273\277'
    sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$root/docs/LEIA-ME.txt"
} >"$staging/$name/LEIA-ME.txt"

rm -f "$dist/$name.zip" "$dist/$name.zip.sha256"
(cd "$staging" && python3 -m zipfile -c "$dist/$name.zip" "$name")
(cd "$dist" && sha256sum "$name.zip" >"$name.zip.sha256")

python3 -m zipfile -l "$dist/$name.zip"
cat "$dist/$name.zip.sha256"
