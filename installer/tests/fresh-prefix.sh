#!/usr/bin/env bash
# fresh-prefix.sh WORK_DIR PROGRAM [ARGUMENTS...]
# Runs a Windows program in a Wine prefix where nothing was ever installed: a copy, made for
# this run, of a pristine prefix that is made once in WORK_DIR and never run in.
set -euo pipefail
work=$1
shift
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-env.sh"
wine_locale
mkdir -p "$work"
(
  flock 9
  wine_make_prefix "$work/pristine-prefix" null
) 9>"$work/.prefix.lock"

export WINEPREFIX=$work/prefix
rm -rf "$WINEPREFIX"
cp -a "$work/pristine-prefix" "$WINEPREFIX"
trap 'wineserver -k 2>/dev/null || true; wineserver -w 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
# Detached, so that no Wine service holds this script's output open; should this script be
# killed, the server still ends by itself 30 s after its last program.
setsid wineserver -p30 </dev/null >/dev/null 2>&1 || true
setsid wine cmd /c exit </dev/null >/dev/null 2>&1 || true
wine "$@"
