#!/usr/bin/env bash
# Builds the suite, starts the local vendor site on 127.0.0.1:80 and runs the parcel-tracking
# program under Wine: on the user's display when there is one, otherwise on a virtual display
# where it takes screenshots and closes. Port 80 needs root.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target package

program=build/windows/package/package.exe
shots=$PWD/build/shots
site_state=$PWD/build/vendorsite.state
site_control=$PWD/build/vendorsite.control
site() { python3 tools/vendorsite/vendorsite.py "$@"; }

# Says why and stops when port 80 is taken or needs root; never waits for it.
site start --state "$site_state" --control "$site_control" --lifetime 3600
cleanup() { site stop --state "$site_state"; }
trap cleanup EXIT

export LUMIVANE_WINE_DISPLAY=x11
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  source scripts/wine-env.sh
  wine_start
  trap 'wine_stop; cleanup' EXIT
  wine "$program"
  exit 0
fi

display_number=90
while [ -e "/tmp/.X11-unix/X$display_number" ] || [ -e "/tmp/.X$display_number-lock" ]; do
  display_number=$((display_number + 1))
done
Xvfb ":$display_number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null || true; cleanup' EXIT
for _ in $(seq 1 100); do
  [ -e "/tmp/.X11-unix/X$display_number" ] && break
  sleep 0.1
done
export DISPLAY=:$display_number
source scripts/wine-env.sh
wine_start
trap 'wine_stop; kill $xvfb_pid 2>/dev/null || true; cleanup' EXIT

mkdir -p "$shots"
settings='HKCU\Software\Lumivane Software\ruzuviva\Settings'
# One run of the program for a screenshot: it is ended once the picture is taken.
show() {
  local name=$1
  wine "$program" &
  local pid=$!
  sleep "${2:-6}"
  import -window root "$shots/$name.png"
  echo "  $shots/$name.png"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

echo "Screenshots:"
wine reg delete "$settings" /f >/dev/null 2>&1 || true
show package-welcome
wine reg add "$settings" /v "Express Company" /d "顺丰速运" /f >/dev/null 2>&1
show package-company
echo refuse >"$site_control"
sleep 0.5
show package-offline 3
