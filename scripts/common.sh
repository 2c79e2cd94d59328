# Sourced, from the project root, by test.sh, package.sh and the scripts of
# scripts/: what they share.
#   source scripts/common.sh NAME     (NAME begins fail's messages)
#
# step TEXT          a step's heading (with the script's time so far)
# fail TEXT          the message on standard error, exit status 1
# skipped PART WHY   a part that did not run: fails under CI (CI=true),
#                    else noted for the summary of ./test.sh
# note_test_skips WHERE RESULTS...   each test that skipped, as skipped
# timed NAME CMD...  runs CMD (a function runs in a subshell of its own,
#                    stopping at its first failure) and prints its
#                    duration: "== NAME: 9m12s"; timed_step: "-- NAME: 12s"
# configure_build DIR ARGS...   configures a Ninja build folder (ccache when
#                    installed, for a folder made here)
# configure_win_build           the Windows cross build (build/win)
# release_build [JOBS]          the Release build of the Linux package's
#                    programs (build/release)
# build_host TARGET...          the host build of a Wine stage's Linux
#                    side (sets host_build) with those targets built
# wine_idl_dir, wine_pe_dir     Wine's IDL files and its Windows programs
# widl_tlb OUT IDL ARGS...      a type library from IDL, against Wine's IDL
#                    and stdole2.tlb
# check_listed LIST OBSERVED    a Wine stage's list of known outcomes held
#                    against what the run met (in $work)

script_name=$1
root=$(pwd)
win_build=${BRANNOCK_WIN_BUILD:-build/win}

# A step's heading, with the time since the script began: where a stage
# spends its time shows in its output.
step() { echo "-- $* [at $(duration_text $SECONDS)]"; }
fail() {
  echo "$script_name: $*" >&2
  exit 1
}

# BRANNOCK_SKIPPED (set by ./test.sh) collects the parts skipped in a run,
# one "WHY<tab>PART" a line.
skipped() {
  [ "${CI:-}" != true ] || fail "$1 would be skipped, which CI (CI=true) does not allow: $2"
  echo "-- skipped: $1 ($2)"
  [ -z "${BRANNOCK_SKIPPED:-}" ] || printf '%s\t%s\n' "$2" "$1" >>"$BRANNOCK_SKIPPED"
}

# The tests that skipped in GoogleTest or ctest results; under CI every one
# is named before the run fails.
note_test_skips() {
  local where=$1 skips line
  shift
  skips=$(scripts/test-skips.pl "$@") || fail "the test results cannot be read: $*"
  [ -n "$skips" ] || return 0
  if [ "${CI:-}" = true ]; then
    sed "s/^/skipped $where: /" <<<"$skips" >&2
    fail "$(wc -l <<<"$skips") tests skipped $where, which CI (CI=true) does not allow"
  fi
  while IFS= read -r line; do skipped "${line%%: *} ($where)" "${line#*: }"; done <<<"$skips"
}

# Seconds as "9m12s".
duration_text() { printf '%dm%02ds' $(($1 / 60)) $(($1 % 60)); }

# CMD's exit status after printing "PREFIX NAME: DURATION". A function runs
# in a subshell with -e in force (a caller's "||" would switch it off).
# The stages' durations are kept in `durations` as well.
durations=()
run_timed() {
  local prefix=$1 name=$2 start=$SECONDS status
  shift 2
  set +e
  (
    set -e
    "$@"
  )
  status=$?
  set -e
  local took
  took=$(duration_text $((SECONDS - start)))
  echo "$prefix $name: $took"
  [ "$prefix" != '==' ] || durations+=("$name $took")
  return $status
}
timed() { run_timed '==' "$@"; }
timed_step() { run_timed '--' "$@"; }

configure_build() {
  local dir=$1
  shift
  local launcher=()
  if [ ! -f "$dir/CMakeCache.txt" ] && [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ] && command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  fi
  cmake -S . -B "$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
}

# The cross build of every Windows program and test: one configuration for
# the Wine stages, the packages and the screenshots.
configure_win_build() {
  grep -qs '^CMAKE_SKIP_INSTALL_ALL_DEPENDENCY:BOOL=ON' "$win_build/CMakeCache.txt" && return 0
  configure_build "$win_build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DBRANNOCK_BENCH=OFF -DBRANNOCK_GUI=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON
}

# The Release build of the Linux package's programs (build/release), with
# JOBS compiler jobs (default 2); the Debian package is made from it.
release_build() {
  configure_build build/release -DCMAKE_BUILD_TYPE=Release -DBRANNOCK_TESTS=OFF -DBRANNOCK_BENCH=OFF \
    -DBRANNOCK_CROSS_BUILD_DIR="$(realpath -m "$win_build")" -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON
  cmake --build build/release -j"${1:-2}" --target brannock brannock-cli brannock-install-files
}

# host_build: BRANNOCK_HOST_BUILD when given, else the sanitizer build of
# ./test.sh when there is one, else build/wine-host (configured here).
build_host() {
  if [ -n "${BRANNOCK_HOST_BUILD:-}" ]; then
    host_build=$BRANNOCK_HOST_BUILD
  elif [ -f build/test/build.ninja ]; then
    host_build=build/test
  else
    host_build=build/wine-host
    [ -f "$host_build/build.ninja" ] || configure_build "$host_build" -DCMAKE_BUILD_TYPE=Release -DBRANNOCK_BENCH=OFF
  fi
  cmake --build "$host_build" -j2 --target "$@"
}

first_existing() { local d; for d in "$@"; do [ -e "$d" ] && { echo "$d"; return 0; }; done; return 1; }
wine_idl_dir() {
  local f
  f=$(first_existing /usr/include/wine/wine/windows/oaidl.idl /usr/include/wine/windows/oaidl.idl) && dirname "$f"
}
wine_pe_dir() {
  local f
  f=$(first_existing /usr/lib/x86_64-linux-gnu/wine/x86_64-windows/stdole2.tlb /usr/lib/wine/x86_64-windows/stdole2.tlb) &&
    dirname "$f"
}

widl_tlb() {
  local out=$1 idl=$2 idl_dir pe_dir
  shift 2
  idl_dir=$(wine_idl_dir) || fail "Wine's IDL files are missing (libwine-dev)"
  pe_dir=$(wine_pe_dir) || fail "Wine's stdole2.tlb is missing (wine64)"
  widl -t -I "$idl_dir" -L "$pe_dir" "$@" -o "$out" "$idl" || fail "widl $idl failed"
}

# LIST (entries one a line, "#" comments) against OBSERVED: every entry as
# listed, no more, no fewer, or the stage fails naming both sides. The
# entries of the real libraries (" real/") are checked where
# ../shared/fixtures/real is.
check_listed() {
  local list=$1 name
  name=$(basename "$list" .txt)
  { grep -v '^#' "$list" | grep . || true; } | sort >"$work/$name.expected"
  if [ ! -d ../shared/fixtures/real ]; then
    skipped "$(grep -c ' real/' "$work/$name.expected") entries of $list for real libraries" \
      "../shared/fixtures/real is missing"
    grep -v ' real/' "$work/$name.expected" >"$work/$name.checked" || true
    mv "$work/$name.checked" "$work/$name.expected"
  fi
  sort "$2" >"$work/$name.met"
  if ! diff "$work/$name.expected" "$work/$name.met"; then
    fail "the entries of $list changed (<: listed, >: met in this run)"
  fi
  echo "$list: the $(wc -l <"$work/$name.expected") entries as listed"
}
