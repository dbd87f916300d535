#!/bin/sh
# signmanifest_test.sh PYTHON SIGNMANIFEST.py: fills in and signs a manifest, then checks the
# result with plain openssl.
set -eu
python=$1
tool=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "FAIL: $*"; exit 1; }

openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:P-256 -out key.pem 2>/dev/null
openssl pkey -in key.pem -pubout -out pub.pem
mkdir -p new/plug_in/Zipdex
head -c 40000 /dev/urandom > new/a.exe
printf 'zipdex' > new/plug_in/Zipdex/zipdex.exe
: > new/empty.dat
cat > manifest.xml <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<Update Start="a.exe">
  <Files>
    <File Name="a.exe" Version="2.0.0.0" Class="A" URL="http://example.invalid/a.exe" Length="1" SHA256="00"/>
    <Group><Files><File Name="plug_in\Zipdex\zipdex.exe" Version="2.0.0.0"/></Files></Group>
    <File Name="empty.dat" Version="1.0.0.0"/>
  </Files>
</Update>
XML
cp manifest.xml original.xml

"$python" "$tool" manifest.xml new key.pem >/dev/null || fail "signing"
openssl dgst -sha256 -verify pub.pem -signature manifest.xml.sig manifest.xml >/dev/null \
  || fail "openssl does not verify the signature"
for file in a.exe 'plug_in\Zipdex\zipdex.exe' empty.dat; do
  path=new/$(printf '%s' "$file" | tr '\\' /)
  filled="Length=\"$(wc -c < "$path" | tr -d ' ')\" SHA256=\"$(sha256sum "$path" | cut -c1-64)\""
  grep -F "Name=\"$file\"" manifest.xml | grep -qF "$filled" \
    || fail "$file: Length or SHA256 not filled in: $(cat manifest.xml)"
done
grep -q 'Class="A" URL="http://example.invalid/a.exe"' manifest.xml || fail "other attributes lost"

# Serial: one more than the one at the output, else 1, or as asked but never lower; Expires:
# days from now, to the second, in UTC.
attribute() { sed -n "s/.*<Update [^>]*$1=\"\([^\"]*\)\".*/\1/p" "$2"; }
expect_dated() {  # FILE SERIAL DAYS
  [ "$(attribute Serial "$1")" = "$2" ] || fail "$1: Serial $(attribute Serial "$1"), not $2"
  expires=$(attribute Expires "$1")
  printf '%s' "$expires" | grep -qE '^[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}Z$' \
    || fail "$1: Expires $expires"
  ahead=$(( $(date -u -d "$expires" +%s) - $(date -u +%s) - $3 * 86400 ))
  [ "$ahead" -le 0 ] && [ "$ahead" -gt -60 ] || fail "$1: Expires $expires is not $3 days ahead"
  openssl dgst -sha256 -verify pub.pem -signature "$1.sig" "$1" >/dev/null \
    || fail "$1: openssl does not verify the signature"
}
expect_dated manifest.xml 1 30
"$python" "$tool" manifest.xml new key.pem >/dev/null || fail "signing again"
expect_dated manifest.xml 2 30
"$python" "$tool" original.xml new key.pem --output other.xml --serial 7 --expires 1 >/dev/null \
  || fail "signing with --serial"
expect_dated other.xml 7 1
cp other.xml before.xml
if "$python" "$tool" original.xml new key.pem --output other.xml --serial 6 >/dev/null 2>&1; then
  fail "a lower serial signed"
fi
cmp -s other.xml before.xml || fail "a lower serial changed the manifest"

# A missing file or a way out of the folder: nothing is written.
for case in gone.dat '..\\manifest.xml'; do
  sed "s/empty.dat/$case/" original.xml > case.xml
  cp case.xml before.xml
  if "$python" "$tool" case.xml new key.pem >/dev/null 2>&1 </dev/null; then fail "$case: signed"; fi
  cmp -s case.xml before.xml || fail "$case: manifest changed"
  [ ! -e case.xml.sig ] || fail "$case: signature written"
done
echo "signmanifest: 1 passed, 0 failed"
