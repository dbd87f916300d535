#!/usr/bin/env bash
# Screenshots of the controls under Xvfb: the demonstration dialog with the five button
# states and the link colours, and both about boxes, each in a Wine virtual desktop.
# Usage: shots.sh <controls_demo.exe> <output directory> [X display, default :97]
set -euo pipefail
exe=$(realpath "$1")
out=$2
display=${3:-:97}
export LUMIVANE_WINE_DISPLAY=x11
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-env.sh"
mkdir -p "$out"

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
sleep 1
export DISPLAY=$display
wine_start 30

for mode in controls zipdex package; do
  wine explorer /desktop=lumivane-shots,560x340 "$exe" "$mode" 4000 </dev/null >/dev/null 2>&1 &
  program=$!
  sleep 3
  import -display "$display" -window root -crop 560x340+0+0 +repage "$out/$mode.png"
  wait "$program" || true
done
echo "screenshots in $out"
