#!/usr/bin/env bash
# By hand: the comparison of two large synthetic exports (58 MB each, 1 % of
# their objects different; tools/gen_synthetic_registry.py --vary 1), two
# ways:
#  - inside one process, step by step (registry_compare_bench): both loads,
#    the comparison, the report;
#  - as whole brannock-cli --compare processes, RUNS times (default 5): the
#    wall time of each and the peak memory, against the two files' size.
#   scripts/bench-compare.sh [BEFORE.reg NOW.reg]
# Without arguments the two files are generated in the temporary folder
# unless they are there already. Needs the release build with the
# benchmarks:
#   cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRANNOCK_BENCH=ON
#   cmake --build build/release --target brannock-cli registry_compare_bench
set -euo pipefail
files=()
for f in "$@"; do files+=("$(realpath "$f")"); done
cd "$(dirname "$0")/.."
host_cli=${HOST_CLI:-build/release/src/app/brannock-cli}
bench=${HOST_BENCH:-build/release/bench/registry_compare_bench}
for program in "$host_cli" "$bench"; do
  [ -x "$program" ] || { echo "bench-compare: $program is missing (see the head of this script)" >&2; exit 1; }
done

echo "== in one process (registry_compare_bench)"
"$bench" "${files[@]}" | tee "${TMPDIR:-/tmp}/bench-compare-steps.txt"
tmp=${TMPDIR:-/tmp}
before=${files[0]:-$tmp/brannock-compare-before.reg}
now=${files[1]:-$tmp/brannock-compare-now.reg}
together=$(( $(stat -c %s "$before") + $(stat -c %s "$now") ))

echo "== whole process: brannock-cli --registry NOW --compare BEFORE"
runs=${RUNS:-5}
times=()
peak_kb=0
for ((i = 1; i <= runs; i++)); do
  status=0
  /usr/bin/time -f '%e %M' -o "$tmp/bench-compare-time.txt" \
    "$host_cli" --registry "$now" --compare "$before" >"$tmp/bench-compare-out.txt" || status=$?
  [ "$status" -eq 3 ] || { echo "bench-compare: brannock-cli exited with $status, not 3" >&2; exit 1; }
  # GNU time says "Command exited with non-zero status 3" on a line before.
  read -r seconds kb < <(tail -1 "$tmp/bench-compare-time.txt")
  times+=("$seconds")
  [ "$kb" -gt "$peak_kb" ] && peak_kb=$kb
  echo "run $i: $seconds s, peak $((kb / 1024)) MB"
done
echo "result: $(tail -1 "$tmp/bench-compare-out.txt") ($(wc -l <"$tmp/bench-compare-out.txt") lines)"
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
awk -v m="$median" -v kb="$peak_kb" -v bytes="$together" 'BEGIN {
  printf "whole process        %8.2f s median of the runs (goal: under 1.5 s)\n", m
  printf "peak memory          %8.1f MB  (%.2f x the two files of %.1f MB; goal: under 3 x)\n",
         kb / 1024, kb * 1024 / bytes, bytes / 1e6
}'
rm -f "$tmp/bench-compare-time.txt" "$tmp/bench-compare-out.txt"
