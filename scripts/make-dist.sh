#!/usr/bin/env bash
# Builds the release package from a win32 build tree:
#   DIST_DIR/REGQuorvalis-<version>.zip         the program, LEIA-ME.txt,
#                                               NOVIDADES.txt and the
#                                               deployment scripts in a folder
#                                               of the same name (and, signed,
#                                               ASSINATURA.txt)
#   DIST_DIR/REGQuorvalis-<version>.zip.sha256  its checksum, sha256sum -c form
# The version is the project's, as the build wrote it. The texts are shipped
# as UTF-8 with a byte-order mark and CRLF line ends, which Notepad shows
# right on every Windows, whatever its code page.
#
# The same commit gives the same bytes: the program carries no link time,
# and every zip entry has the commit's time, fixed permissions and a fixed
# place (SOURCE_DATE_EPOCH, when set, stands for the commit's time).
#
# Signing (Authenticode, SHA-256) happens when SIGN_PKCS12 and
# SIGN_PASSWORD_FILE are set. SIGN_TIMESTAMP_URL names the RFC 3161 time-stamp
# server that lets the signature outlive the certificate; set it empty to
# sign without one (no server is contacted then).
# Usage: make-dist.sh BUILD_DIR DIST_DIR
set -eu
build=$1
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$2"
dist=$(cd "$2" && pwd)
timestamp_url=${SIGN_TIMESTAMP_URL-http://timestamp.sectigo.com}

version=$(cat "$build/version.txt")
name=REGQuorvalis-$version
exe=$build/REGQuorvalis.exe
[ -f "$exe" ] || { echo "no program at $exe: build the win32 preset first"; exit 1; }
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}

staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT
mkdir "$staging/$name"
cp "$exe" "$staging/$name/REGQuorvalis.exe"

# text <source> <target>: the source with @VERSION@ filled in, BOM and CRLF.
text() {
    {
        printf '\357\273\277'
        sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$1"
    } >"$2"
}
text "$root/docs/LEIA-ME.txt" "$staging/$name/LEIA-ME.txt"
text "$root/docs/NOVIDADES.txt" "$staging/$name/NOVIDADES.txt"
# The deployment scripts: CRLF, and no byte-order mark, which cmd and the
# script hosts would read as text.
for script in registrar.cmd detectar-configmgr.vbs; do
    sed 's/$/\r/' "$root/docs/$script" >"$staging/$name/$script"
done

if [ -n "${SIGN_PKCS12:-}" ] || [ -n "${SIGN_PASSWORD_FILE:-}" ]; then
    [ -r "${SIGN_PKCS12:-}" ] && [ -r "${SIGN_PASSWORD_FILE:-}" ] || {
        echo "make-dist.sh: signing needs both SIGN_PKCS12 and SIGN_PASSWORD_FILE, readable" >&2
        exit 1
    }
    stamp=()
    [ -n "$timestamp_url" ] && stamp=(-ts "$timestamp_url")
    osslsigncode sign -pkcs12 "$SIGN_PKCS12" -readpass "$SIGN_PASSWORD_FILE" -h sha256 \
        -n "REGQuorvalis $version" "${stamp[@]}" \
        -in "$exe" -out "$staging/signed.exe" >/dev/null
    mv -f "$staging/signed.exe" "$staging/$name/REGQuorvalis.exe"
    subject=$(openssl pkcs12 -in "$SIGN_PKCS12" -passin "file:$SIGN_PASSWORD_FILE" -nokeys \
        -clcerts 2>/dev/null | openssl x509 -noout -subject -nameopt oneline | sed 's/^subject= *//')
    sed -e "s|@SUBJECT@|$subject|" -e "s|@TIMESTAMP@|${timestamp_url:-nenhum}|" \
        "$root/docs/ASSINATURA.txt" >"$staging/assinatura.txt"
    text "$staging/assinatura.txt" "$staging/$name/ASSINATURA.txt"
fi

rm -f "$dist/$name.zip" "$dist/$name.zip.sha256"
python3 - "$staging" "$name" "$dist/$name.zip" "$epoch" <<'EOF'
import os, sys, time, zipfile
staging, name, target, epoch = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
when = time.gmtime(max(epoch, 315532800))[:6]  # zip times start in 1980
with zipfile.ZipFile(target, "w") as package:
    folder = zipfile.ZipInfo(name + "/", when)
    folder.create_system, folder.external_attr = 3, (0o40755 << 16) | 0x10
    package.writestr(folder, b"")
    for file in sorted(os.listdir(os.path.join(staging, name))):
        entry = zipfile.ZipInfo(f"{name}/{file}", when)
        entry.create_system, entry.external_attr = 3, 0o100644 << 16
        entry.compress_type = zipfile.ZIP_DEFLATED
        with open(os.path.join(staging, name, file), "rb") as data:
            package.writestr(entry, data.read(), compresslevel=9)
EOF
(cd "$dist" && sha256sum "$name.zip" >"$name.zip.sha256")

python3 -m zipfile -l "$dist/$name.zip"
cat "$dist/$name.zip.sha256"
