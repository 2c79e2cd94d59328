#!/usr/bin/env bash
# By-hand benchmark (not part of CI): the batch export of a large synthetic
# registry, once through advapi32 by the Windows build under Wine (the data
# imported into a throwaway prefix), once by the Linux build reading the same
# data from files (the .reg export, and the prefix's own files), in one run.
#   scripts/bench-wine-export.sh [--classes N --interfaces N --typelibs N --appids N]
# Arguments go to tools/gen_synthetic_registry.py (defaults: 20000 classes,
# 40000 interfaces, 3000 type libraries, 3000 application IDs).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/install-deps.sh build wine

source scripts/wine-prefix.sh bench
now() { date +%s.%N; }
seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }

echo "-- release builds"
cmake -S . -B build/win-release -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DBRANNOCK_TESTS=OFF -DBRANNOCK_BENCH=OFF >/dev/null
cmake --build build/win-release -j2 --target brannock-cli >/dev/null
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRANNOCK_TESTS=OFF -DBRANNOCK_BENCH=OFF >/dev/null
cmake --build build/release -j2 --target brannock-cli >/dev/null
win_cli=build/win-release/src/app/brannock-cli.exe
host_cli=build/release/src/app/brannock-cli

echo "-- synthetic registry"
python3 tools/gen_synthetic_registry.py --reg "$work/big.reg" "$@"
echo "big.reg: $(du -m "$work/big.reg" | cut -f1) MB"

echo "-- Wine prefix"
wineboot -i >/dev/null 2>&1
wineserver -w
t0=$(now)
wine reg import "$(winpath "$work/big.reg")" >/dev/null 2>&1
wineserver -w
t1=$(now)
echo "wine reg import and registry save: $(seconds "$t0" "$t1") s"

# label, list folder, then the command (which writes into that folder).
run() {
  local label=$1 out=$2
  shift 2
  local a b
  a=$(now)
  "$@" >/dev/null
  b=$(now)
  printf '%-56s %8s s  (%s list lines)\n' "$label" "$(seconds "$a" "$b")" "$(cat "$out"/*.csv | wc -l)"
}

echo "-- batch export -SA -SI -SO -ST"
a=$(now)
wine "$win_cli" --version >/dev/null
b=$(now)
printf '%-56s %8s s\n' "Wine start-up (brannock-cli.exe --version)" "$(seconds "$a" "$b")"
mkdir -p "$work/win" "$work/prefix-files" "$work/reg-file"
run "Windows build under Wine, live registry (advapi32)" "$work/win" \
  wine "$win_cli" -SA -SI -SO -ST --out-dir "$(winpath "$work/win")"
wineserver -w
run "Linux build, the prefix's files (system.reg, user.reg)" "$work/prefix-files" \
  "$host_cli" --registry "$WINEPREFIX" -SA -SI -SO -ST --out-dir "$work/prefix-files"
run "Linux build, the .reg export" "$work/reg-file" \
  "$host_cli" --registry "$work/big.reg" -SA -SI -SO -ST --out-dir "$work/reg-file"

same=yes
for f in AppIds.csv Intfs.csv ObjClasses.csv TypeLibs.csv; do
  cmp -s "$work/win/$f" "$work/prefix-files/$f" || same=no
done
echo "list files of the Windows build and of the Linux build on the prefix identical: $same"
