#!/usr/bin/env bash
# The Windows type library viewer and About dialog under Wine with Xvfb:
# test_uiwin32_viewer.exe opens the widl fixtures and Wine's mshtml.tlb in
# the real window (tree view, own text view, common Find dialog, printing
# onto a bitmap) and compares its text with what brannock-cli.exe --render
# prints for the same file. Called from scripts/wine-stage.sh; runs on its
# own as well (with a throwaway prefix of its own); scripts/wine-stage.sh
# passes its prefix (BRANNOCK_PREFIX_READY=1, WINEPREFIX and work set).
#   BRANNOCK_WIN_BUILD   the cross build folder (default build/win)
#   --screenshots        also write docs/win32-viewer.png and
#                        docs/win32-about.png
set -euo pipefail
cd "$(dirname "$0")/.."
screenshots=0
[ "${1:-}" = --screenshots ] && screenshots=1
source scripts/wine-substage.sh viewer
# In the Wine stage's prefix, the files of this stage go to a folder of their own.
[ -z "${BRANNOCK_PREFIX_READY:-}" ] || work=$work/viewer

step "cross build: viewer tests and brannock-cli ($win_build)"
configure_win_build
targets=(test_uiwin32_viewer brannock-cli)
[ "$screenshots" = 1 ] && targets+=(viewer_screenshots_win32)
cmake --build "$win_build" -j2 --target "${targets[@]}"

step "widl fixtures"
idl_dir=$(dirname "$(ls /usr/include/wine/wine/windows/oaidl.idl /usr/include/wine/windows/oaidl.idl 2>/dev/null | head -1)")
pe_dir=$(dirname "$(ls /usr/lib/x86_64-linux-gnu/wine/x86_64-windows/stdole2.tlb /usr/lib/wine/x86_64-windows/stdole2.tlb 2>/dev/null | head -1)")
tlb_dir=$work/tlb
mkdir -p "$tlb_dir" "$work/units"
cp "$pe_dir/stdole2.tlb" "$tlb_dir/"
for name in minimal render_demo shapes; do
  widl -t -I "$idl_dir" -L "$pe_dir" -o "$tlb_dir/$name.tlb" "tests/data/idl/$name.idl" || fail "widl $name.idl failed"
done

step "Wine prefix and the units brannock-cli.exe renders"
if [ -z "${BRANNOCK_PREFIX_READY:-}" ]; then
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi
cli=$win_build/src/app/brannock-cli.exe
for name in minimal render_demo shapes; do
  wine "$cli" --render "$(winpath "$tlb_dir/$name.tlb")" >"$work/units/$name.unit" || fail "render $name failed"
done
wine "$cli" --render 'C:\windows\system32\mshtml.tlb' >"$work/units/mshtml.unit" || fail "render mshtml failed"

export BRANNOCK_VIEWER_TLB_DIR=$(winpath "$tlb_dir")
export BRANNOCK_VIEWER_RENDERED_DIR=$(winpath "$work/units")

step "viewer and About dialog under Wine with Xvfb"
# The console programs above may have started Wine's desktop process
# without a display; windows made on that desktop fail. Let that server
# end first, and end the one of the tests before their X server goes.
wineserver -w
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c 'wine "$1" --gtest_brief=1; rc=$?; wineserver -w; exit $rc' _ \
  "$win_build/tests/test_uiwin32_viewer.exe" || fail "test_uiwin32_viewer failed"

if [ "$screenshots" = 1 ]; then
  step "screenshots into docs/"
  xvfb-run -a -s "-screen 0 1024x700x24" bash -c '
    wine "$1" viewer "C:\\windows\\system32\\mshtml.tlb" & program=$!
    sleep 12; import -window root "$2/docs/win32-viewer.png"; kill $program 2>/dev/null || true
    wine "$1" about & program=$!
    sleep 6; import -window root "$2/docs/win32-about.png"; kill $program 2>/dev/null || true
    wineserver -k 2>/dev/null || true' _ "$win_build/tests/viewer_screenshots_win32.exe" "$root"
fi
wineserver -w
echo "Windows viewer stage passed."
