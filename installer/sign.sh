#!/bin/sh
# sign.sh PKCS12 FILE: signs the Windows program FILE in place with Authenticode through
# osslsigncode, with the certificate and key in PKCS12 whose password is in the environment
# variable LUMIVANE_SIGN_PASSWORD, and a timestamp from the RFC 3161 address in
# LUMIVANE_SIGN_TIMESTAMP when that is set.
set -eu
pkcs12=$1
file=$2
: "${LUMIVANE_SIGN_PASSWORD?sign.sh: set LUMIVANE_SIGN_PASSWORD to the password of $pkcs12}"
set -- sign -pkcs12 "$pkcs12" -readpass /dev/stdin -h sha256 -n "澜图工具集"
[ -z "${LUMIVANE_SIGN_TIMESTAMP:-}" ] || set -- "$@" -ts "$LUMIVANE_SIGN_TIMESTAMP"
rm -f "$file.signed"
# The password goes through a pipe: never on a command line that others can list.
printf '%s\n' "$LUMIVANE_SIGN_PASSWORD" | osslsigncode "$@" -in "$file" -out "$file.signed" >/dev/null
mv "$file.signed" "$file"
