#!/usr/bin/env bash
# Remakes the README's pictures under docs/ from the run command's screenshots: each program
# headless on a virtual display, each picture cut to the windows and stored as a small PNG.
set -euo pipefail
cd "$(dirname "$0")/.."

shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
for program in zipdex update package; do
  env -u DISPLAY LUMIVANE_SHOTS="$shots" bash scripts/run.sh "$program"
done

mkdir -p docs
picture() {
  convert "$shots/$1.png" -trim +repage -colors 256 "PNG8:docs/$2.png"
  echo "docs/$2.png: $(($(stat -c %s "docs/$2.png") / 1024)) KB"
}
picture zipdex-sorted zipdex
picture zipdex-about zipdex-about
picture update-after update
picture package-company package
picture package-about package-about
