#!/usr/bin/env bash
# signed.sh <repo> <win32-build-dir>: signs the release package with a
# throwaway self-signed certificate and checks that Authenticode accepts it,
# that the signed program still runs under
# Wine (where this machine can run 32-bit programs), that an unsigned package
# carries no signature, and that the version block, the manifest, the release
# notes and the zip name all carry the project's version.
set -u
repo=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"
failures=0
check() { # check <what> <shell command>: its output only when it fails
    if eval "$2" >out 2>&1; then echo "ok: $1"; else
        echo "FAIL: $1" && sed 's/^/    /' out
        failures=$((failures + 1))
    fi
}

version=$(sed -n 's/^project(REGQuorvalis VERSION \([0-9.]*\).*/\1/p' "$repo/CMakeLists.txt")
commas=${version//./, }
rc=$(i686-w64-mingw32-windres -i "$build/REGQuorvalis.exe" -O rc)
check "version block: FILEVERSION and ProductVersion $commas" \
    'grep "FILEVERSION $commas\$" <<<"$rc" && grep "\"ProductVersion\", \"$commas\"" <<<"$rc"'
check "manifest: assemblyIdentity version $version" \
    'grep -ao "name=\"REGQuorvalis\" version=\"$version\"" "$build/REGQuorvalis.exe"'
check "release notes start with version $version" \
    'grep -m1 "^Versão " "$repo/docs/NOVIDADES.txt" | grep "^Versão $version - "'

echo secreta >pass.txt
openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 \
    -subj "/CN=REGQuorvalis teste/O=Equipe REGQuorvalis" \
    -addext extendedKeyUsage=codeSigning 2>/dev/null &&
    openssl pkcs12 -export -inkey key.pem -in cert.pem -out cert.p12 -passout file:pass.txt &&
    SIGN_PKCS12=cert.p12 SIGN_PASSWORD_FILE=pass.txt SIGN_TIMESTAMP_URL= \
        bash "$repo/scripts/make-dist.sh" "$build" signed >/dev/null &&
    SIGN_PKCS12= SIGN_PASSWORD_FILE= bash "$repo/scripts/make-dist.sh" "$build" unsigned >/dev/null ||
    { echo "FAIL: could not make the certificate or the packages"; exit 1; }
for kind in signed unsigned; do
    check "$kind package named REGQuorvalis-$version.zip" \
        'python3 -m zipfile -e $kind/REGQuorvalis-$version.zip $kind/files'
done
signed=signed/files/REGQuorvalis-$version
check "Authenticode with SHA-256 accepted against the certificate" \
    'osslsigncode verify -CAfile cert.pem -in $signed/REGQuorvalis.exe >verify.txt &&
     grep "Message digest algorithm  : SHA256" verify.txt'
check "signing notes name the signer and no time-stamp server" \
    'grep "CN = REGQuorvalis teste" $signed/ASSINATURA.txt &&
     grep "carimbo de tempo:  nenhum" $signed/ASSINATURA.txt'
check "the unsigned package has no signature and no signing notes" \
    'osslsigncode verify -in unsigned/files/REGQuorvalis-$version/REGQuorvalis.exe 2>&1 |
         grep "No signature found" && test ! -e unsigned/files/REGQuorvalis-$version/ASSINATURA.txt'

# The signed program, beside the registrar, checks a registration: there is none.
mkdir run && cp "$signed/REGQuorvalis.exe" "$build/samples/registrar/REGQUORVALIS2.OCX" run/
from="Z:${scratch//\//\\}\\run"
printf '%s\n' 'case signed-program-runs' "let PROGRAM $from\\REGQuorvalis.exe" 'run /v /s | 10' >signed.txt
check "the signed program runs under Wine" 'bash "$repo/tests/run-cases.sh" "$build" signed.txt'
[ $failures -eq 0 ] && echo "PASS" || { echo "$failures check(s) failed"; exit 1; }
