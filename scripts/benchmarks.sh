#!/usr/bin/env bash
# Builds what the benchmarks need and prints their figures (they are not tests).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

echo "== Access engine against mdbtools (native, optimised build)"
cmake --preset native-release >/dev/null
cmake --build --preset native-release --target jet_bench >/dev/null
build/native-release/jet/bench/jet_bench

cmake --preset windows >/dev/null
cmake --build --preset windows --target zipdex_benchmark update_benchmark package_benchmark \
  string_map_benchmark >/dev/null
source scripts/wine-env.sh
wine_start
trap wine_stop EXIT

echo "== the string map: names built to share one chain against ordinary names"
wine build/windows/framework/bench/string_map_benchmark.exe 5

echo "== zipdex: start-up, search and sort"
wine build/windows/plug_in/Zipdex/bench/zipdex_benchmark.exe | iconv -f gbk -t utf-8

echo "== update: 20 MB download-and-replace against a bare 1 KB WinINet read loop"
served=$(mktemp -d)
state=$served/server.state
python3 tools/updateserver/updateserver.py start --root "$served" --state "$state"
trap 'python3 tools/updateserver/updateserver.py stop --state "$state"; rm -rf "$served"; wine_stop' EXIT
port=$(cut -d' ' -f2 "$state")
wine build/windows/update/update_benchmark.exe "Z:${served//\//\\}" "$port" 20 7 | iconv -f gbk -t utf-8

echo "== package against zipdex: start-up to the dialog shown, local vendor site up (port 80)"
site_state=$served/vendorsite.state
python3 tools/vendorsite/vendorsite.py start --state "$site_state" --lifetime 600
trap 'python3 tools/vendorsite/vendorsite.py stop --state "$site_state"; python3 tools/updateserver/updateserver.py stop --state "$state"; rm -rf "$served"; wine_stop' EXIT
wine build/windows/package/bench/package_benchmark.exe build/windows/package/package.exe \
  build/windows/plug_in/Zipdex/zipdex.exe 5 | iconv -f gbk -t utf-8
