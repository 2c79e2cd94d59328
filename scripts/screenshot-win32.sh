#!/usr/bin/env bash
# The picture of the Windows main window in docs/: brannock.exe's window
# (through test_uiwin32.exe) on a Wine prefix with the fixtures, under Xvfb,
# taken with ImageMagick's import.
#   scripts/screenshot-win32.sh [OUTPUT.png]   (default docs/main-window-win32.png)
set -euo pipefail
cd "$(dirname "$0")/.."
output=$(realpath -m "${1:-docs/main-window-win32.png}")
source scripts/wine-opening.sh screenshot-win32
command -v import >/dev/null || fail "ImageMagick's import is not on PATH (package imagemagick)"
configure_win_build
cmake --build "$win_build" -j2 --target test_uiwin32
make_fixture_prefix

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
[ -s "$output" ] && [ "$output" -nt "$work/ready" ] || fail "no picture was taken"
echo "written: $output"
