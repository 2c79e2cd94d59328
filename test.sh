#!/usr/bin/env bash
# Builds everything and runs all tests: unit and GUI tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, short fuzz runs, and the
# Windows stage under Wine, and the packages (the .deb is installed into
# this machine and removed again). Installs the packages it needs.
#   ./test.sh               everything
#   ./test.sh --skip-wine   without the Wine and package stages (for quick local runs only)
# Each stage ends with its duration ("== Host build: 9m12s"). A part that
# cannot run here (a tool or ../shared/fixtures/real missing, a test that
# skipped, a part the build left out) fails the run under CI (CI=true);
# elsewhere the last line names every part skipped and why.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh test.sh
run_start=$SECONDS

skip_wine=0
for a in "$@"; do
  case "$a" in
    --skip-wine) skip_wine=1 ;;
    *) echo "usage: ./test.sh [--skip-wine]" >&2; exit 2 ;;
  esac
done

mkdir -p build
export BRANNOCK_SKIPPED=$root/build/skipped.txt
: >"$BRANNOCK_SKIPPED"

groups=(build gui test wine)
[ $skip_wine -eq 1 ] || groups+=(package)
echo "== Install"
timed "Install" scripts/install-deps.sh "${groups[@]}"
# What the stages need beyond the packages, looked at once they are in.
command -v widl >/dev/null || skipped "the widl fixtures (reader and render tests, render parity, fuzz seeds)" \
  "widl is not on PATH"
[ -d ../shared/fixtures/real ] || skipped "the real-world fixtures (reader tests, render parity, fuzz seeds)" \
  "../shared/fixtures/real is missing"
if [ $skip_wine -eq 1 ]; then
  skipped "the Windows build under Wine and the packages" "--skip-wine"
else
  command -v lintian >/dev/null || skipped "lintian's check of the Debian package" "lintian is not on PATH"
fi

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

host_build() {
  configure_build build/test -DCMAKE_BUILD_TYPE=Debug -DBRANNOCK_SANITIZE=ON -DBRANNOCK_BENCH=OFF
  # What the configuration left out for want of a dependency.
  while IFS=$'\t' read -r part why; do skipped "$part" "$why"; done <build/test/not-built.txt
  cmake --build build/test -j2
}
host_tests() {
  rm -f build/test/ctest-results.xml
  (cd build/test && ctest -j2 --output-on-failure --output-junit "$root/build/test/ctest-results.xml")
  note_test_skips "in ctest" build/test/ctest-results.xml
}

echo "== Host build (AddressSanitizer, UndefinedBehaviorSanitizer)"
timed "Host build" host_build
# The Release build of the package's programs compiles beside the Wine
# stage, one job at a time: that stage waits much of its time for Wine and
# for the windows (load 0.6 during the window tests). The packages wait for
# it. (The cross build beside the host tests and the fuzz targets made the
# run longer: those are busy.)
beside_pid=
beside() { # LOG CMD...: CMD in the background, its output and duration in LOG
  local log=$1
  shift
  (
    start=$SECONDS
    "$@"
    echo "took $(duration_text $((SECONDS - start)))"
  ) >"$log" 2>&1 &
  beside_pid=$!
  trap 'kill "$beside_pid" 2>/dev/null || true' EXIT
}
await_beside() { # WHAT LOG
  local status=0
  wait "$beside_pid" || status=$?
  trap - EXIT
  if [ $status -ne 0 ]; then
    tail -n 30 "$2"
    fail "$1 failed ($2)"
  fi
  echo "-- $1, beside the stages before: $(tail -n 1 "$2")"
}
echo "== Host tests (ctest)"
timed "Host tests" host_tests
echo "== Fuzz targets (short runs)"
timed "Fuzz targets" scripts/fuzz-stage.sh
if [ $skip_wine -eq 0 ]; then
  beside build/release-build.log release_build 1
  echo "== Windows build under Wine"
  timed "Windows build under Wine" scripts/wine-stage.sh
  await_beside "the Release build" build/release-build.log
  echo "== Packages (.deb installed and removed, Windows zip under Wine)"
  timed "Packages" scripts/package-stage.sh
fi
echo "All test stages passed in $(duration_text $((SECONDS - run_start))) ($(IFS=,; echo "${durations[*]}" | sed 's/,/, /g'))."
if [ -s "$BRANNOCK_SKIPPED" ]; then
  # One line: each reason, then what it left out.
  echo "Skipped: $(sort -u "$BRANNOCK_SKIPPED" | awk -F'\t' '
    $1 != why { if (NR > 1) printf "; "; printf "%s: %s", $1, $2; why = $1; next }
    { printf ", %s", $2 }')"
else
  echo "Skipped: nothing"
fi
