#!/usr/bin/env bash
# reproducible.sh <repo>: builds the release package of the repository's
# HEAD twice, in two fresh clones one after the other, and fails unless the
# two zips (and so their SHA-256) are byte for byte the same.
set -eu
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for clone in first second; do
    git clone -q "$1" "$scratch/$clone"
    (cd "$scratch/$clone" && cmake --preset win32 >/dev/null &&
        cmake --build --preset win32 --target REGQuorvalis -j2 >/dev/null &&
        SIGN_PKCS12= SIGN_PASSWORD_FILE= bash scripts/make-dist.sh build/win32 dist >/dev/null)
done
cat "$scratch"/*/dist/*.sha256
cmp "$scratch"/{first,second}/dist/*.zip || { echo "FAIL: the clones give different packages"; exit 1; }
echo "PASS: both clones give the same $(basename "$scratch"/first/dist/*.zip)"
