#!/usr/bin/env bash
# Signing, with a throwaway certificate made here: the Windows build packaged again, as a
# release would be, with OSTREL_SIGN_PKCS12 set; every binary in the installer and the zip and
# the installer itself verify against that certificate, and a changed byte does not.
# Without a certificate nothing is signed, and the packaging says so.
#
#   check_signing.sh WINDOWS_BUILD_DIR
set -uo pipefail
windows=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-signing.XXXXXX")
trap 'rm -rf "$work"' EXIT

. "$here/checks.sh"
verify() { osslsigncode verify -CAfile "$work/cert.pem" -in "$1" >"$work/verify.log" 2>&1; }

# A code-signing certificate of its own, its key in a PKCS#12 file behind a password.
head -c 24 /dev/urandom | base64 >"$work/password"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Ostrel test signer" \
    -addext extendedKeyUsage=codeSigning -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/signer.p12" \
    -passout "file:$work/password"

mkdir "$work/build"
cp -a "$windows/bin" "$windows/CMakeCache.txt" "$windows/source_date_epoch" "$work/build/"
OSTREL_SIGN_PKCS12=$work/signer.p12 OSTREL_SIGN_PASSWORD_FILE=$work/password \
    bash "$root/packaging/windows/package.sh" "$work/build" >"$work/package.log" 2>&1
msi=$(ls "$work"/build/Ostrel-*-win64.msi 2>/dev/null)

all_verify() { # folder
    local file bad=0 count=0
    while read -r file; do
        count=$((count + 1))
        verify "$file" || { echo "  not signed: ${file#"$1"/}"; bad=1; }
    done < <(find "$1" -iname '*.exe' -o -iname '*.dll')
    [ "$count" -gt 0 ] || { echo "  no binaries in $1"; bad=1; }
    return $bad
}

said_signed() { grep -q "^Signed with .*: .*Ostrel.exe " "$work/package.log" && grep -q "^Signed with .*: Ostrel-.*.msi$" "$work/package.log"; }
installer_binaries() { mkdir "$work/msi" && (cd "$work/msi" && msiextract "$msi" >/dev/null) && all_verify "$work/msi"; }
zip_binaries() { unzip -q "$work"/build/Ostrel-*-win64.zip -d "$work/zip" && all_verify "$work/zip"; }
changed_byte_fails() {
    cp "$work/zip"/*/Pellund.dll "$work/changed.dll"
    printf '\x90' | dd of="$work/changed.dll" bs=1 seek=2048 conv=notrunc 2>/dev/null
    ! verify "$work/changed.dll"
}
unsigned_says_so() {
    cp "$windows/bin/ostrel-tc.exe" "$work/plain.exe"
    env -u OSTREL_SIGN_PKCS12 bash "$root/packaging/windows/sign.sh" "$work/plain.exe" | grep -q '^Not signed' &&
        cmp -s "$windows/bin/ostrel-tc.exe" "$work/plain.exe"
}

if [ -n "$msi" ]; then
    check "packaging says it signed" said_signed
    check "the installer verifies" verify "$msi"
    check "every binary in the installer verifies" installer_binaries
    check "every binary in the zip verifies" zip_binaries
    check "a changed byte fails" changed_byte_fails
else
    check "packaged with a certificate" false
    tail -n 20 "$work/package.log"
fi
check "without a certificate nothing is signed" unsigned_says_so
checks_end
