#!/usr/bin/env bash
# Builds everything and runs all tests: unit and GUI tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, short fuzz runs, and the
# Windows stage under Wine, and the packages (the .deb is installed into
# this machine and removed again). Installs the packages it needs.
#   ./test.sh               everything
#   ./test.sh --skip-wine   without the Wine and package stages (for quick local runs only)
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)

skip_wine=0
for a in "$@"; do
  case "$a" in
    --skip-wine) skip_wine=1 ;;
    *) echo "usage: ./test.sh [--skip-wine]" >&2; exit 2 ;;
  esac
done

groups=(build gui test)
[ $skip_wine -eq 1 ] || groups+=(wine package)
scripts/install-deps.sh "${groups[@]}"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

echo "== Host build (AddressSanitizer, UndefinedBehaviorSanitizer) =="
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRANNOCK_SANITIZE=ON -DBRANNOCK_BENCH=OFF >/dev/null
cmake --build build/test -j2
(cd build/test && ctest -j2 --output-on-failure)

echo "== Fuzz targets (short runs) =="
scripts/fuzz-stage.sh

if [ $skip_wine -eq 0 ]; then
  echo "== Windows build under Wine =="
  scripts/wine-stage.sh
  echo "== Packages (.deb installed and removed, Windows zip under Wine) =="
  scripts/package-stage.sh
fi
echo "All test stages passed."
