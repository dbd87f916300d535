#!/usr/bin/env bash
# Builds the suite and starts the lookup program under Wine: on the user's display when
# there is one, otherwise on a virtual display where it takes screenshots and closes.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target framework_demo

program=build/windows/framework/demo/framework_demo.exe
caption="澜图软件 框架演示"
shots=$PWD/build/shots

export LUMIVANE_WINE_DISPLAY=x11
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  source scripts/wine-env.sh
  wine_start
  trap wine_stop EXIT
  wine "$program"
  exit 0
fi

display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
source scripts/wine-env.sh
wine_start
trap 'wine_stop; kill $xvfb_pid 2>/dev/null || true' EXIT

wine "$program" &
program_pid=$!
for _ in $(seq 1 100); do
  xwininfo -root -tree 2>/dev/null | grep -q "$caption" && break
  sleep 0.1
done
sleep 1
mkdir -p "$shots"
import -window root "$shots/zipdex.png"
kill "$program_pid" 2>/dev/null || true
wait "$program_pid" 2>/dev/null || true
echo "Screenshots: $shots/zipdex.png"
