#!/usr/bin/env bash
# By-hand benchmark (not part of CI): the Win32 main window under Wine with
# Xvfb, in a throwaway prefix. Prints the fill of the tree with 40,000
# interfaces already in memory, a selection's pane, and reading Wine's own
# registry through advapi32, with the machine's load before and after.
#   scripts/bench-win32-window.sh [INTERFACES]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/install-deps.sh build test wine

source scripts/wine-prefix.sh bench-window

echo "-- release cross build (build/win-bench)"
cmake -S . -B build/win-bench -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DBRANNOCK_TESTS=OFF -DBRANNOCK_BENCH=ON \
  -DBRANNOCK_GUI=OFF >/dev/null
cmake --build build/win-bench -j2 --target main_window_bench_win32 >/dev/null
bench=$(realpath build/win-bench/bench/main_window_bench_win32.exe)

echo "-- Wine prefix"
wineboot -i >/dev/null 2>&1
wineserver -w

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
xvfb-run -a -s '-screen 0 1280x1024x24' bash -c 'wine "$1" "$2"; rc=$?; wineserver -w; exit $rc' _ "$bench" \
  "${1:-40000}"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
