#!/usr/bin/env bash
# By hand: renders Wine's mshtml.tlb, or the library FILE given (placed in a
# folder of its own on the prefix's C: drive; the largest real-world one is
# ../shared/fixtures/real/typelib/pe/vb6wurzel_MSACC9.OLB), with the file
# reader (Linux) and through oleaut32 under Wine (Windows build), in the
# same run, two ways:
#   scripts/bench-render-mshtml.sh [FILE]
#  - inside one process, twenty times each (typelib_render_bench), which
#    compares the two readers without process start-up;
#  - as whole brannock-cli processes, ten times each, as Object Pascal and as
#    IDL (--language idl).
# BENCH_RUNS and PROCESS_RUNS change the two counts (a library whose
# render takes Wine tens of seconds, such as MSACC9.OLB, wants fewer).
# Needs release builds with the benchmarks:
#   cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRANNOCK_BENCH=ON
#   cmake --build build/release --target brannock-cli typelib_render_bench
#   cmake -S . -B build/win-release -G Ninja -DCMAKE_BUILD_TYPE=Release \
#     -DCMAKE_TOOLCHAIN_FILE=$PWD/cmake/mingw-w64.cmake -DBRANNOCK_TESTS=OFF -DBRANNOCK_GUI=OFF -DBRANNOCK_BENCH=ON
#   cmake --build build/win-release --target brannock-cli typelib_render_bench
set -euo pipefail
bench_file=${1:+$(realpath "$1")}
cd "$(dirname "$0")/.."
host_cli=${HOST_CLI:-build/release/src/app/brannock-cli}
win_cli=${WIN_CLI:-build/win-release/src/app/brannock-cli.exe}
host_bench=${HOST_BENCH:-build/release/bench/typelib_render_bench}
win_bench=${WIN_BENCH:-build/win-release/bench/typelib_render_bench.exe}
source scripts/wine-prefix.sh render-bench
wineboot -i >/dev/null 2>&1
wineserver -w
tlb='C:\windows\system32\mshtml.tlb'
name=mshtml.tlb
if [ -n "$bench_file" ]; then
  name=$(basename "$bench_file")
  mkdir -p "$WINEPREFIX/drive_c/brannock-bench"
  cp "$bench_file" "$WINEPREFIX/drive_c/brannock-bench/$name"
  tlb="C:\\brannock-bench\\$name"
fi
wine "$win_cli" --render "$tlb" >/dev/null  # warm: Wine's server and DLLs loaded

runs=${BENCH_RUNS:-20} process_runs=${PROCESS_RUNS:-10}
run10() {
  local start end i
  start=$(date +%s.%N)
  for ((i = 0; i < process_runs; i++)); do "$@" >/dev/null; done
  end=$(date +%s.%N)
  printf '%.1f' "$(echo "($end - $start) * 1000 / $process_runs" | bc -l)"  # ms per run
}
echo "In one process, $runs runs each:"
echo "  file reader:         $("$host_bench" "$tlb" "$runs" --registry "$WINEPREFIX")"
echo "  oleaut32 under Wine: $(wine "$win_bench" "$tlb" "$runs")"
linux=$(run10 "$host_cli" --registry "$WINEPREFIX" --render "$tlb")
# What of that is reading the prefix's registry files (a batch export of the
# empty application IDs list).
mkdir -p "$work/out"
registry_only=$(run10 "$host_cli" --registry "$WINEPREFIX" -SA --out-dir "$work/out")
start_only=$(run10 wine cmd /c exit)
wine_ms=$(run10 wine "$win_cli" --render "$tlb")
echo "$name, per render, whole process: file reader $linux ms (of which reading the prefix's" \
     "registry about $registry_only ms); oleaut32 under Wine $wine_ms ms (of which starting a Wine" \
     "process about $start_only ms)"
linux_idl=$(run10 "$host_cli" --registry "$WINEPREFIX" --render "$tlb" --language idl)
wine_idl=$(run10 wine "$win_cli" --render "$tlb" --language idl)
echo "$name as IDL, per render, whole process: file reader $linux_idl ms (Object Pascal $linux ms," \
     "$(echo "scale=1; ($linux_idl - $linux) * 100 / $linux" | bc -l) %); oleaut32 under Wine $wine_idl ms" \
     "(Object Pascal $wine_ms ms, $(echo "scale=1; ($wine_idl - $wine_ms) * 100 / $wine_ms" | bc -l) %)"
