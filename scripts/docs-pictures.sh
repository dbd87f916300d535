#!/usr/bin/env bash
# Remakes the README's pictures under docs/ from the run command's screenshots: each program
# headless on a virtual display, each picture cut to the windows and stored as a small PNG;
# the main windows also at 144 DPI (150 %).
set -euo pipefail
cd "$(dirname "$0")/.."

shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
for dpi in 96 144; do
  mkdir -p "$shots/$dpi"
  for program in zipdex update package; do
    env -u DISPLAY LUMIVANE_SHOTS="$shots/$dpi" LUMIVANE_DPI=$dpi bash scripts/run.sh "$program"
  done
done

mkdir -p docs
picture() {
  convert "$shots/$1.png" -trim +repage -colors 256 "PNG8:docs/$2.png"
  echo "docs/$2.png: $(($(stat -c %s "docs/$2.png") / 1024)) KB"
}
picture 96/zipdex-sorted zipdex
picture 96/zipdex-about zipdex-about
picture 96/update-after update
picture 96/package-company package
picture 96/package-about package-about
picture 144/zipdex-sorted zipdex-144
picture 144/update-after update-144
picture 144/package-company package-144
