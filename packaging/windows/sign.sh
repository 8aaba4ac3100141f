#!/usr/bin/env bash
# Signs Windows files in place with osslsigncode when a certificate is given:
#   OSTREL_SIGN_PKCS12          a PKCS#12 file holding the certificate and its key
#   OSTREL_SIGN_PASSWORD_FILE   a file holding its password (none: no password)
# With no certificate it signs nothing and says so.
#
#   sign.sh FILE...
set -euo pipefail
names=$(for file in "$@"; do basename "$file"; done | tr '\n' ' ')
names=${names% }
if [ -z "${OSTREL_SIGN_PKCS12:-}" ]; then
    echo "Not signed (OSTREL_SIGN_PKCS12 names no certificate): $names"
    exit 0
fi
password=()
[ -n "${OSTREL_SIGN_PASSWORD_FILE:-}" ] && password=(-readpass "$OSTREL_SIGN_PASSWORD_FILE")
for file in "$@"; do
    if ! out=$(osslsigncode sign -pkcs12 "$OSTREL_SIGN_PKCS12" "${password[@]}" -h sha256 \
                   -n Ostrel -in "$file" -out "$file.signed" 2>&1); then
        echo "$out" >&2
        echo "sign.sh: could not sign $file" >&2
        exit 1
    fi
    mv "$file.signed" "$file"
done
echo "Signed with $OSTREL_SIGN_PKCS12: $names"
