#!/usr/bin/env bash
# The pictures of the Windows main window in docs/: brannock.exe's window
# (through test_uiwin32.exe's Win32Screenshot test) on a Wine prefix with the
# fixtures, under Xvfb, at 96 dpi or at the dpi given. The test writes the
# window's screen rectangle into a READY file once the window is drawn, and
# the picture is of that rectangle alone, taken with ImageMagick's import;
# the window stays until the DONE file exists. The prefix's windows are not
# managed (HKCU\Software\Wine\X11 Driver Managed=N), so that Wine draws their
# caption and frame itself: Xvfb has no window manager to draw them.
# ImageMagick (package imagemagick) is needed only here and by
# scripts/wine-viewer-stage.sh --screenshots, not by the tests.
#   scripts/screenshot-win32.sh [--dpi N] [OUTPUT.png]
#   --dpi N   the prefix's user at N dpi (HKCU\Control Panel\Desktop
#             LogPixels, as scripts/wine-dpi-stage.sh); default 96
#   OUTPUT    default docs/main-window-win32.png at 96 dpi,
#             docs/main-window-win32-Ndpi.png at another
#   BRANNOCK_WIN_BUILD   the cross build folder (default build/win)
# Fails when no picture was taken.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-opening.sh screenshot-win32 "$@"
dpi=96
output=
set -- "${stage_args[@]}"
while [ $# -gt 0 ]; do
  case "$1" in
    --dpi) dpi=${2:-}; shift 2 ;;
    *) output=$1; shift ;;
  esac
done
[[ "$dpi" =~ ^[1-9][0-9]*$ ]] || fail "--dpi takes a number of dots per inch"
if [ -z "$output" ]; then
  output=docs/main-window-win32.png
  [ "$dpi" = 96 ] || output=docs/main-window-win32-${dpi}dpi.png
fi
output=$(realpath -m "$output")
command -v import >/dev/null || fail "ImageMagick's import is not on PATH (package imagemagick)"
configure_win_build
cmake --build "$win_build" -j2 --target test_uiwin32
make_fixture_prefix
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 ||
  fail "wine reg add LogPixels failed"
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 ||
  fail "wine reg add Managed failed"
wineserver -w
grep -qi "^\"LogPixels\"=dword:$(printf '%08x' "$dpi")" "$WINEPREFIX/user.reg" ||
  fail "the prefix does not hold LogPixels=$dpi"

# The screen holds the window at its dpi with room to spare.
screen=$((1024 * dpi / 96))x$((768 * dpi / 96))x24
export BRANNOCK_SCREENSHOT_READY BRANNOCK_SCREENSHOT_DONE
BRANNOCK_SCREENSHOT_READY=$(winpath "$work/ready")
BRANNOCK_SCREENSHOT_DONE=$(winpath "$work/done")
rm -f "$output.new"
xvfb-run -a -s "-screen 0 $screen" bash -c '
  wine "$1" --gtest_filter=Win32Screenshot.* --gtest_brief=1 & program=$!
  for _ in $(seq 600); do [ -f "$2/ready" ] && break; kill -0 $program 2>/dev/null || break; sleep 0.1; done
  [ -f "$2/ready" ] || { echo "the window did not come up" >&2; kill $program 2>/dev/null; wineserver -k; exit 1; }
  import -window root -crop "$(cat "$2/ready")" +repage "png:$3"
  touch "$2/done"
  wait $program; rc=$?
  wineserver -w
  exit $rc' _ "$(realpath "$win_build/tests/test_uiwin32.exe")" "$work" "$output.new" ||
  fail "no picture was taken"
[ -s "$output.new" ] || fail "no picture was taken"
mv "$output.new" "$output"
echo "written: $output"
