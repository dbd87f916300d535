#!/usr/bin/env bash
# Builds the suite and shows one of its programs under Wine:
#   bash scripts/run.sh [zipdex|update|package]        (zipdex when no name is given)
# On the user's display when there is one; otherwise on a virtual display, where it walks
# through the program's main job, saves named screenshots and says where they are.
set -euo pipefail
cd "$(dirname "$0")/.."

program=${1:-zipdex}
if [ ! -f "scripts/run/$program.sh" ] || [ "$program" = display ]; then
  echo "usage: bash scripts/run.sh [zipdex|update|package]" >&2
  exit 2
fi

bash scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows

source scripts/run/display.sh
display_start
source "scripts/run/$program.sh"
