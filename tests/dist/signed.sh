#!/usr/bin/env bash
# signed.sh <repo> <win32-build-dir>: signs the release package with a
# throwaway self-signed certificate and checks that Authenticode accepts it,
# that one changed byte breaks it, that the signed program still starts under
# Wine (where this machine can run 32-bit programs), that an unsigned package
# carries no signature, and that the version block, the manifest, the release
# notes and the zip name all carry the project's version.
set -u
repo=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
check() { # check <what> <command>...
    local what=$1
    shift
    if "$@" >"$scratch/out" 2>&1; then echo "ok: $what"; else
        echo "FAIL: $what"
        sed 's/^/    /' "$scratch/out"
        failures=$((failures + 1))
    fi
}
fails() { ! "$@"; }

version=$(sed -n 's/^project(REGQuorvalis VERSION \([0-9.]*\).*/\1/p' "$repo/CMakeLists.txt")
commas=$(echo "$version" | sed 's/\./, /g')
exe=$build/REGQuorvalis.exe
check "the build's version is project(VERSION) $version" grep -qx "$version" "$build/version.txt"
rc=$(i686-w64-mingw32-windres -i "$exe" -O rc)
check "version block: FILEVERSION $commas" grep -q "FILEVERSION $commas\$" <<<"$rc"
check "version block: ProductVersion \"$commas\"" grep -q "\"ProductVersion\", \"$commas\"" <<<"$rc"
check "manifest: assemblyIdentity version $version" \
    grep -aq "name=\"REGQuorvalis\" version=\"$version\"" "$exe"
check "release notes start with version $version" \
    grep -m1 -q "^Versão $version - " "$repo/docs/NOVIDADES.txt"

cd "$scratch"
echo secreta >pass.txt
openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 \
    -subj "/CN=REGQuorvalis teste/O=Equipe REGQuorvalis" \
    -addext extendedKeyUsage=codeSigning 2>/dev/null &&
    openssl pkcs12 -export -inkey key.pem -in cert.pem -out cert.p12 -passout file:pass.txt ||
    { echo "FAIL: could not make the throwaway certificate"; exit 1; }
for kind in signed unsigned; do
    if [ $kind = signed ]; then
        export SIGN_PKCS12=cert.p12 SIGN_PASSWORD_FILE=pass.txt SIGN_TIMESTAMP_URL=
    else
        unset SIGN_PKCS12 SIGN_PASSWORD_FILE
    fi
    bash "$repo/scripts/make-dist.sh" "$build" $kind >/dev/null || { echo "FAIL: make-dist.sh ($kind)"; exit 1; }
    check "$kind package named REGQuorvalis-$version.zip" test -f "$kind/REGQuorvalis-$version.zip"
    python3 -m zipfile -e "$kind/REGQuorvalis-$version.zip" "$kind/files"
done
signed=signed/files/REGQuorvalis-$version
check "Authenticode with SHA-256 accepted against the certificate" \
    bash -c "osslsigncode verify -CAfile cert.pem -in $signed/REGQuorvalis.exe | grep -q 'Message digest algorithm  : SHA256' &&
             osslsigncode verify -CAfile cert.pem -in $signed/REGQuorvalis.exe | grep -q 'Signature verification: ok'"
check "signing notes name the signer and no time-stamp server" \
    bash -c "grep -q 'CN = REGQuorvalis teste' $signed/ASSINATURA.txt && grep -q 'carimbo de tempo:  nenhum' $signed/ASSINATURA.txt"
cp "$signed/REGQuorvalis.exe" tampered.exe
printf '\x90' | dd of=tampered.exe bs=1 seek=1040 conv=notrunc status=none
check "one changed byte fails the verification" fails osslsigncode verify -CAfile cert.pem -in tampered.exe
check "the unsigned package has no signature" \
    fails osslsigncode verify -CAfile cert.pem -in "unsigned/files/REGQuorvalis-$version/REGQuorvalis.exe"
check "the unsigned package has no signing notes" \
    test ! -e "unsigned/files/REGQuorvalis-$version/ASSINATURA.txt"

# The signed program, beside the registrar, shows its window and closes.
mkdir -p "$scratch/run"
cp "$signed/REGQuorvalis.exe" "$build/samples/registrar/REGQUORVALIS2.OCX" "$scratch/run/"
from="Z:${scratch//\//\\}\\run"
printf '%s\n' 'case signed-program-starts' \
    "folder C:\\qv\\signed | $from\\REGQuorvalis.exe | $from\\REGQUORVALIS2.OCX" \
    'let PROGRAM C:\qv\signed\REGQuorvalis.exe' start window 'press close' 'exit 0' >"$scratch/signed.txt"
check "the signed program starts, shows its window and closes under Wine" \
    bash "$repo/tests/run-cases.sh" "$build" "$scratch/signed.txt"
[ $failures -eq 0 ] && echo "PASS" || { echo "$failures check(s) failed"; exit 1; }
