#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a short time on
# its seeds: fuzz/corpus/TARGET/ and the fixtures fuzz/corpus/TARGET.txt
# names (see fuzz/corpus/README.md). FUZZ_SECONDS sets the time per target
# (default 20).
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${FUZZ_SECONDS:-20}
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DBRANNOCK_FUZZ=ON -DBRANNOCK_TESTS=OFF -DBRANNOCK_GUI=OFF -DBRANNOCK_BENCH=OFF \
  -DBRANNOCK_SANITIZE=ON >/dev/null
targets=$(find fuzz -maxdepth 1 -name '*_fuzz.cpp' -printf '%f\n' | sed 's/\.cpp$//' | sort)
[ -n "$targets" ] || { echo "no fuzz targets"; exit 0; }
cmake --build build/fuzz -j2 --target $targets

idl_dir=$(dirname "$(ls /usr/include/wine/wine/windows/oaidl.idl /usr/include/wine/windows/oaidl.idl 2>/dev/null | head -1)")
wine_dir=$(dirname "$(ls /usr/lib/x86_64-linux-gnu/wine/x86_64-windows/stdole2.tlb /usr/lib/wine/x86_64-windows/stdole2.tlb 2>/dev/null | head -1)")

# Copies the fixtures a corpus list names into folder $2.
gather() {
  local list=$1 into=$2 entry name
  while IFS= read -r entry; do
    [ -n "$entry" ] || continue
    case $entry in
      wine:*) name=${entry#wine:}; cp "$wine_dir/$name" "$into/$name" ;;
      widl:*) name=$(basename "${entry#widl:}" .idl)
              widl -t -I "$idl_dir" -L "$wine_dir" -o "$into/$name.tlb" "${entry#widl:}" ;;
      real:*) name=../shared/fixtures/real/${entry#real:}
              # The real files stay beside the project; without them the
              # target starts from what libFuzzer kept.
              if [ -f "$name" ]; then cp "$name" "$into/$(basename "$name")"; fi ;;
      *)      cp "$entry" "$into/$(basename "$entry")" ;;
    esac
  done <"$list"
}

for t in $targets; do
  name=${t%_fuzz}
  corpus=build/fuzz/corpus/$t
  seeds=build/fuzz/seeds/$t
  rm -rf "$seeds"
  mkdir -p "$corpus" "$seeds"
  [ -d "fuzz/corpus/$name" ] && cp fuzz/corpus/"$name"/* "$seeds"/
  [ -f "fuzz/corpus/$name.txt" ] && gather "fuzz/corpus/$name.txt" "$seeds"
  echo "-- $t (${secs}s, $(ls "$seeds" | wc -l) seeds)"
  build/fuzz/fuzz/$t -max_total_time="$secs" -print_final_stats=0 "$corpus" "$seeds" 2>&1 | tail -n 2
done
