#!/usr/bin/env bash
# Builds the suite and starts the lookup program under Wine: on the user's display when
# there is one, otherwise on a virtual display where it takes screenshots and closes.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows

program=build/windows/plug_in/Zipdex/zipdex.exe
shots=$PWD/build/shots

export LUMIVANE_WINE_DISPLAY=x11
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  source scripts/wine-env.sh
  wine_start
  trap wine_stop EXIT
  wine "$program"
  exit 0
fi

display_number=90
while [ -e "/tmp/.X11-unix/X$display_number" ] || [ -e "/tmp/.X$display_number-lock" ]; do
  display_number=$((display_number + 1))
done
display=:$display_number
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do
  [ -e "/tmp/.X11-unix/X$display_number" ] && break
  sleep 0.1
done
export DISPLAY=$display
source scripts/wine-env.sh
wine_start
trap 'wine_stop; kill $xvfb_pid 2>/dev/null || true' EXIT

wine "$program" &
program_pid=$!
tour=build/windows/plug_in/Zipdex/tour/zipdex_tour.exe
mkdir -p "$shots"
shot() { import -window root "$shots/$1.png"; echo "  $shots/$1.png"; }

echo "Screenshots:"
wine "$tour" province 北京市 && shot zipdex-province
wine "$tour" search 2 1000 && shot zipdex-search
wine "$tour" sort 2 && shot zipdex-sorted
wine "$tour" close || kill "$program_pid" 2>/dev/null || true
wait "$program_pid" 2>/dev/null || true
