#!/usr/bin/env bash
# signing_test.sh WORK_DIR SIGNED_DIR CERTIFICATE SETUP_NAME
# Every file that the signed installer build ships verifies against the throwaway certificate
# with osslsigncode, and a copy of it with one byte changed does not. The uninstaller exists
# only once the installer has written it: the installer runs silently in a fresh Wine prefix.
set -euo pipefail
work=$1
signed=$2
certificate=$3
setup=$4
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

bash "$here/fresh-prefix.sh" "$work" cmd /c \
  "$(windows_path "$signed/$setup") /S /D=C:\\suite && copy C:\\suite\\uninstall.exe $(windows_path "$scratch")" \
  >/dev/null 2>&1 || true

verifies() { osslsigncode verify -CAfile "$certificate" -in "$1" >"$scratch/verify.log" 2>&1; }
passed=0
failed=0
for file in "$signed"/suite/{plug_in/Zipdex/zipdex,package,update}.exe "$signed/$setup" "$scratch/uninstall.exe"; do
  name=$(basename "$file")
  if [ ! -f "$file" ]; then
    echo "FAIL: $name was not made"; failed=$((failed + 1)); continue
  fi
  if verifies "$file"; then passed=$((passed + 1)); else
    echo "FAIL: $name does not verify:"; cat "$scratch/verify.log"; failed=$((failed + 1))
  fi
  changed=$scratch/changed-$name
  cp "$file" "$changed"
  offset=$(( $(stat -c %s "$file") / 2 ))
  byte=$(od -An -tu1 -j "$offset" -N1 "$file" | tr -d ' ')
  printf "\\$(printf '%03o' $((byte ^ 1)))" | dd of="$changed" bs=1 seek="$offset" conv=notrunc status=none
  if verifies "$changed"; then
    echo "FAIL: $name with byte $offset changed still verifies"; failed=$((failed + 1))
  else passed=$((passed + 1)); fi
done
echo "installer signing: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
