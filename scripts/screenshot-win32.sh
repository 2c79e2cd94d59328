#!/usr/bin/env bash
# The picture of the Windows main window in docs/: brannock.exe's window
# (through test_uiwin32.exe) on a Wine prefix with the fixtures, under Xvfb,
# taken with ImageMagick's import.
#   scripts/screenshot-win32.sh [OUTPUT.png]   (default docs/main-window-win32.png)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
output=$(realpath -m "${1:-docs/main-window-win32.png}")
win_build=${BRANNOCK_WIN_BUILD:-build/win}

source scripts/wine-prefix.sh screenshot
export BRANNOCK_FIXTURE_DIR='C:\brannock-fixture'
if [ ! -f "$win_build/build.ninja" ]; then
  cmake -S . -B "$win_build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DBRANNOCK_BENCH=OFF -DBRANNOCK_GUI=OFF >/dev/null
fi
cmake --build "$win_build" -j2 --target test_uiwin32
wineboot -i >/dev/null 2>&1
for reg in tests/data/wine/*.reg; do
  wine reg import "$(winpath "$reg")" >/dev/null 2>&1
done
wineserver -w

export BRANNOCK_SCREENSHOT_READY BRANNOCK_SCREENSHOT_DONE
BRANNOCK_SCREENSHOT_READY=$(winpath "$work/ready")
BRANNOCK_SCREENSHOT_DONE=$(winpath "$work/done")
xvfb-run -a -s '-screen 0 1024x768x24' bash -c '
  wine "$1" --gtest_filter=Win32Screenshot.* --gtest_brief=1 &
  for _ in $(seq 600); do [ -f "$2/ready" ] && break; sleep 0.1; done
  [ -f "$2/ready" ] || { echo "the window did not come up" >&2; exit 1; }
  import -window root -crop "$(cat "$2/ready")" +repage "$3"
  touch "$2/done"
  wait
  wineserver -w' _ "$(realpath "$win_build/tests/test_uiwin32.exe")" "$work" "$output"
echo "written: $output"
