#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a short time on
# its seed corpus. FUZZ_SECONDS sets the time per target (default 20).
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${FUZZ_SECONDS:-20}
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DBRANNOCK_FUZZ=ON -DBRANNOCK_TESTS=OFF -DBRANNOCK_GUI=OFF -DBRANNOCK_BENCH=OFF \
  -DBRANNOCK_SANITIZE=ON >/dev/null
targets=$(find fuzz -name '*_fuzz.cpp' -printf '%f\n' | sed 's/\.cpp$//' | sort)
[ -n "$targets" ] || { echo "no fuzz targets"; exit 0; }
cmake --build build/fuzz -j2 --target $targets
for t in $targets; do
  corpus=build/fuzz/corpus/$t
  mkdir -p "$corpus"
  seeds=fuzz/seeds/${t%_fuzz}
  echo "-- $t (${secs}s)"
  if [ -d "$seeds" ]; then
    build/fuzz/fuzz/$t -max_total_time="$secs" -print_final_stats=0 "$corpus" "$seeds" 2>&1 | tail -n 2
  else
    build/fuzz/fuzz/$t -max_total_time="$secs" -print_final_stats=0 "$corpus" 2>&1 | tail -n 2
  fi
done
