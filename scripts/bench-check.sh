#!/usr/bin/env bash
# By hand: the registration check as whole brannock-cli --check processes,
# RUNS times each (default 5), the wall time (median) and the peak memory:
#  - a fresh Wine prefix (wineboot -i in a throwaway prefix), with and
#    without --libraries (which opens every registered type library);
#  - the large synthetic registry of tools/gen_synthetic_registry.py (20,000
#    classes, 40,000 interfaces, 3,000 libraries, 3,000 AppIDs), as a
#    regedit export and as the system.reg of a prefix.
# The check reads no type library without --libraries: the figures of the
# two runs of the prefix show what the libraries cost.
#   scripts/bench-check.sh
# Needs the release build with the benchmarks:
#   cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRANNOCK_BENCH=ON
#   cmake --build build/release --target brannock-cli
set -euo pipefail
cd "$(dirname "$0")/.."
host_cli=$(realpath "${HOST_CLI:-build/release/src/app/brannock-cli}")
[ -x "$host_cli" ] || { echo "bench-check: $host_cli is missing (see the head of this script)" >&2; exit 1; }
runs=${RUNS:-5}
source scripts/wine-prefix.sh bench-check

# The runs of brannock-cli with the arguments given: median wall time, peak
# memory, the closing count of findings.
measure() {
  local label=$1 status seconds kb times=() peak_kb=0 i
  shift
  for ((i = 1; i <= runs; i++)); do
    status=0
    /usr/bin/time -f '%e %M' -o "$work/time.txt" "$host_cli" "$@" --check >"$work/out.txt" || status=$?
    [ "$status" -eq 0 ] || [ "$status" -eq 3 ] || { echo "bench-check: $label ended with $status" >&2; exit 1; }
    read -r seconds kb < <(tail -1 "$work/time.txt")
    times+=("$seconds")
    [ "$kb" -gt "$peak_kb" ] && peak_kb=$kb
  done
  local median
  median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p")
  printf '%-44s %6.2f s median of %d, peak %6.1f MB, %d findings\n' "$label" "$median" "$runs" \
    "$(awk -v kb="$peak_kb" 'BEGIN { print kb / 1024 }')" "$(grep -c '^\(error\|warning\|note\)' "$work/out.txt" || true)"
}

echo "== a fresh Wine prefix"
wineboot -i >/dev/null 2>&1
wineserver -w
measure "--check of the prefix" --registry "$WINEPREFIX"
measure "--check --libraries of the prefix" --registry "$WINEPREFIX" --libraries

echo "== the synthetic registry"
mkdir -p "$work/synthetic"
python3 tools/gen_synthetic_registry.py --reg "$work/big.reg" --wine "$work/synthetic/system.reg"
echo "big.reg: $(du -m "$work/big.reg" | cut -f1) MB, system.reg: $(du -m "$work/synthetic/system.reg" | cut -f1) MB"
measure "--check of the regedit export" --registry "$work/big.reg"
measure "--check of the prefix's system.reg" --registry "$work/synthetic"
