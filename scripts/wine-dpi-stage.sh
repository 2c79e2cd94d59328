#!/usr/bin/env bash
# The Windows windows at 150 % display scaling: a prefix of its own whose
# user has 144 dpi (HKCU\Control Panel\Desktop LogPixels, which Wine
# honours), where test_uiwin32.exe and test_uiwin32_viewer.exe check that
# the main window, the viewer and the About dialog are drawn at 144 dpi,
# with the sizes of the design scaled to it, and that every button's,
# field's and panel's text fits its control in the control's own font.
# Run by scripts/wine-stage.sh; runs on its own as well.
#   scripts/wine-dpi-stage.sh
#   BRANNOCK_WIN_BUILD   the cross build folder (default build/win)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-opening.sh wine-dpi-stage "$@"
[ $in_stage_prefix -eq 0 ] || fail "runs in a prefix of its own (no --in)"

dpi=144
# The tests of the scaled windows, and those of the shown windows' focus,
# minimize and restore, and the modal windows' order at this dpi.
window_filter='Win32Dpi.*:Win32MainWindow.FocusStaysOnTheControlsAndTabGoesRoundThem:Win32ModalLoop.*'
viewer_filter='Win32Dpi.*:Win32Viewer.MinimizeAndTabInTheShownWindow'

step "cross build: the window test programs ($win_build)"
configure_win_build
cmake --build "$win_build" -j2 --target test_uiwin32 test_uiwin32_viewer

step "Wine prefix at $dpi dpi"
wineboot -i >/dev/null 2>&1
wine_reg_add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi
wineserver -w
grep -qi '^"LogPixels"=dword:00000090' "$WINEPREFIX/user.reg" || fail "the prefix does not hold LogPixels=$dpi"

step "the windows under Wine with Xvfb at $dpi dpi"
# The viewer's shown window opens the minimal library.
mkdir -p "$work/tlb"
widl_tlb "$work/tlb/minimal.tlb" tests/data/idl/minimal.idl
export BRANNOCK_VIEWER_TLB_DIR=$(winpath "$work/tlb")
export BRANNOCK_EXPECT_DPI=$dpi
# The screen holds the windows at half as much again (216 dpi), which the
# tests of WM_DPICHANGED suggest.
run_tests() { # PROGRAM FILTER RESULTS
  xvfb-run -a -s '-screen 0 2560x1600x24' bash -c \
    'wine "$1" --gtest_brief=1 "--gtest_filter=$2" "$3"; rc=$?; wineserver -w; exit $rc' _ \
    "$win_build/tests/$1.exe" "$2" "--gtest_output=xml:$(winpath "$work/$3")" || fail "$1 failed at $dpi dpi"
}
run_tests test_uiwin32 "$window_filter" window-tests.xml
run_tests test_uiwin32_viewer "$viewer_filter" viewer-tests.xml
note_test_skips "in the $dpi-dpi stage" "$work"/*-tests.xml
for xml in "$work"/*-tests.xml; do
  grep -q '<testcase name="[A-Za-z]*Fits' "$xml" || fail "$(basename "$xml") ran no test of the texts' fit"
done
echo "Wine $dpi-dpi stage passed."
