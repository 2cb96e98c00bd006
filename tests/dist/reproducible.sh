#!/usr/bin/env bash
# reproducible.sh <repo>: builds the release package of the repository's
# HEAD twice, in two fresh clones one after the other, and fails unless the
# two zips (and so their SHA-256) are byte for byte the same.
set -eu
repo=$(cd "$1" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

for clone in first second; do
    git clone -q "$repo" "$scratch/$clone"
    (
        cd "$scratch/$clone"
        cmake --preset win32 >/dev/null
        cmake --build --preset win32 --target REGQuorvalis -j2 >/dev/null
        SIGN_PKCS12= SIGN_PASSWORD_FILE= bash scripts/make-dist.sh build/win32 dist >/dev/null
    )
done
first=$(ls "$scratch"/first/dist/*.zip)
second=$(ls "$scratch"/second/dist/*.zip)
cat "$scratch"/first/dist/*.sha256 "$scratch"/second/dist/*.sha256
if cmp "$first" "$second"; then
    echo "PASS: both clones give the same $(basename "$first")"
else
    echo "FAIL: the two clones give different packages"
    exit 1
fi
