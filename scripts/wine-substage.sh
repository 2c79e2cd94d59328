# Sourced, from the project root, by the Wine stages that scripts/wine-stage.sh
# calls and that run on their own as well (window, viewer, object commands):
#   source scripts/wine-substage.sh NAME
# Defines step and fail (whose messages name wine-NAME-stage), win_build
# (BRANNOCK_WIN_BUILD, default build/win) with configure_win_build, and
# choose_host_build. Then the Wine prefix: the one scripts/wine-stage.sh
# hands over (BRANNOCK_PREFIX_READY=1, WINEPREFIX and work set), else a
# throwaway one of this stage (scripts/wine-prefix.sh); winpath either way.

substage=$1
root=$(pwd)

step() { echo "-- $*"; }
fail() {
  echo "wine-$substage-stage: $*" >&2
  exit 1
}

win_build=${BRANNOCK_WIN_BUILD:-build/win}

# The cross build folder, configured as scripts/wine-stage.sh does when it
# has not been configured yet.
configure_win_build() {
  [ -f "$win_build/build.ninja" ] && return 0
  cmake -S . -B "$win_build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DBRANNOCK_BENCH=OFF -DBRANNOCK_GUI=OFF >/dev/null
}

# Sets host_build: BRANNOCK_HOST_BUILD when given, else the sanitizer build
# of ./test.sh when there is one, else the folder $1 (the stage configures it).
choose_host_build() {
  if [ -n "${BRANNOCK_HOST_BUILD:-}" ]; then
    host_build=$BRANNOCK_HOST_BUILD
  elif [ -f build/test/build.ninja ]; then
    host_build=build/test
  else
    host_build=$1
  fi
}

if [ -z "${BRANNOCK_PREFIX_READY:-}" ]; then
  source scripts/wine-prefix.sh "$substage"
else
  winpath() { local p; p=$(realpath -m "$1"); printf 'Z:%s' "${p//\//\\}"; }
fi
