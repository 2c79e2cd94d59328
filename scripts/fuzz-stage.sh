#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a short time on
# its seeds: fuzz/corpus/TARGET/ and the fixtures fuzz/corpus/TARGET.txt
# names (see fuzz/corpus/README.md); every target has at least one seed from
# the repository, and the real-world files of ../shared/fixtures/real in
# addition when they are there. Two targets run at a time. FUZZ_SECONDS
# sets the time per target (default 20).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh fuzz-stage
secs=${FUZZ_SECONDS:-20}
CC=clang CXX=clang++ configure_build build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DBRANNOCK_FUZZ=ON -DBRANNOCK_TESTS=OFF -DBRANNOCK_GUI=OFF -DBRANNOCK_BENCH=OFF -DBRANNOCK_SANITIZE=ON
targets=$(find fuzz -maxdepth 1 -name '*_fuzz.cpp' -printf '%f\n' | sed 's/\.cpp$//' | sort)
[ -n "$targets" ] || fail "no fuzz targets"
cmake --build build/fuzz -j2 --target $targets

wine_dir=$(wine_pe_dir) || fail "Wine's Windows files are missing (wine64)"
# Copies the fixtures a corpus list names into folder $2.
gather() {
  local list=$1 into=$2 entry name
  while IFS= read -r entry; do
    [ -n "$entry" ] || continue
    case $entry in
      wine:*) name=${entry#wine:}; cp "$wine_dir/$name" "$into/$name" ;;
      widl:*) widl_tlb "$into/$(basename "${entry#widl:}" .idl).tlb" "${entry#widl:}" ;;
      descriptors:*)
              # One seed per descriptor line: its bytes from the hexadecimal field.
              grep -v '^#' "${entry#descriptors:}" | while IFS='|' read -r name hex _; do
                name=$(echo $name)
                printf %s "$hex" | tr -d " " | perl -ne 'print pack("H*", $_)' >"$into/$name.bin"
              done ;;
      real:*) name=../shared/fixtures/real/${entry#real:}
              # The real files stay beside the project, never in it.
              if [ -f "$name" ]; then
                cp "$name" "$into/real-$(basename "$name")"
              else
                skipped "the seed ${entry#real:} of $(basename "$list" .txt)" "../shared/fixtures/real is missing"
              fi ;;
      *)      cp "$entry" "$into/$(basename "$entry")" ;;
    esac
  done <"$list"
}

for t in $targets; do
  name=${t%_fuzz}
  seeds=build/fuzz/seeds/$t
  rm -rf "$seeds"
  mkdir -p "build/fuzz/corpus/$t" "$seeds"
  [ ! -d "fuzz/corpus/$name" ] || cp fuzz/corpus/"$name"/* "$seeds"/
  [ ! -f "fuzz/corpus/$name.txt" ] || gather "fuzz/corpus/$name.txt" "$seeds"
  [ "$(ls "$seeds" | grep -vc '^real-')" -gt 0 ] || fail "$t has no seed from the repository (fuzz/corpus/$name)"
done

# One target's run; its output is shown once it ends.
run() {
  local t=$1 out=build/fuzz/$1.log status=0
  build/fuzz/fuzz/$t -max_total_time="$secs" -print_final_stats=0 "build/fuzz/corpus/$t" "build/fuzz/seeds/$t" \
    >"$out" 2>&1 || status=$?
  echo "-- $t (${secs}s, $(ls "build/fuzz/seeds/$t" | wc -l) seeds)"
  tail -n 2 "$out"
  [ $status -eq 0 ] || { cat "$out" >&2; echo "fuzz-stage: $t failed" >&2; }
  return $status
}
pids=()
for t in $targets; do
  run "$t" &
  pids+=($!)
  [ ${#pids[@]} -lt 2 ] || { wait "${pids[0]}" || fail "a fuzz target failed"; pids=("${pids[@]:1}"); }
done
for p in "${pids[@]}"; do wait "$p" || fail "a fuzz target failed"; done
