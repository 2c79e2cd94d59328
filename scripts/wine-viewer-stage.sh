#!/usr/bin/env bash
# The Windows type library viewer and About dialog under Wine with Xvfb:
# test_uiwin32_viewer.exe opens the widl fixtures and Wine's mshtml.tlb in
# the real window (tree view, own text view, common Find dialog, printing
# onto a bitmap) and compares its text with what brannock-cli.exe --render
# prints for the same file. Run by scripts/wine-stage.sh in its prefix
# (--in, see scripts/wine-opening.sh); runs on its own as well, in a
# throwaway prefix.
#   scripts/wine-viewer-stage.sh [--in DIR] [--screenshots]
#   --screenshots        also write docs/win32-viewer.png and
#                        docs/win32-about.png (at the prefix's 96 dpi): each
#                        of the window alone, taken with ImageMagick's import
#                        once viewer_screenshots_win32.exe has drawn it and
#                        written its rectangle; fails when a picture was not
#                        taken. ImageMagick (package imagemagick) is needed
#                        only for these, not for the tests.
#   BRANNOCK_WIN_BUILD   the cross build folder (default build/win)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-opening.sh wine-viewer-stage "$@"
screenshots=0
[ "${stage_args[0]:-}" != --screenshots ] || screenshots=1

step "cross build: viewer tests and brannock-cli ($win_build)"
configure_win_build
targets=(test_uiwin32_viewer brannock-cli)
[ "$screenshots" = 1 ] && targets+=(viewer_screenshots_win32)
cmake --build "$win_build" -j2 --target "${targets[@]}"

step "widl fixtures"
tlb_dir=$work/tlb
mkdir -p "$tlb_dir" "$work/units"
pe_dir=$(wine_pe_dir) || fail "Wine's stdole2.tlb is missing (wine64)"
cp "$pe_dir/stdole2.tlb" "$tlb_dir/"
for name in minimal render_demo shapes; do
  widl_tlb "$tlb_dir/$name.tlb" "tests/data/idl/$name.idl"
done

step "Wine prefix and the units brannock-cli.exe renders"
if [ $in_stage_prefix -eq 0 ]; then
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
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c 'wine "$1" --gtest_brief=1 "$2"; rc=$?; wineserver -w; exit $rc' _ \
  "$win_build/tests/test_uiwin32_viewer.exe" "--gtest_output=xml:$(winpath "$work/viewer-tests.xml")" ||
  fail "test_uiwin32_viewer failed"
note_test_skips "in the viewer stage" "$work/viewer-tests.xml"

if [ "$screenshots" = 1 ]; then
  step "screenshots into docs/"
  command -v import >/dev/null || fail "ImageMagick's import is not on PATH (package imagemagick)"
  # Each picture is of the window alone, taken once the program has drawn
  # it and written its rectangle (READY); DONE lets the program end.
  take_picture() { # OUTPUT.png ARGUMENTS...
    local output=$1 name
    shift
    name=$(basename "$output" .png)
    rm -f "$work/$name.ready" "$work/$name.done" "$output.new"
    BRANNOCK_SCREENSHOT_READY=$(winpath "$work/$name.ready") BRANNOCK_SCREENSHOT_DONE=$(winpath "$work/$name.done") \
      xvfb-run -a -s '-screen 0 1280x1024x24' bash -c '
        wine "$1" "${@:4}" & program=$!
        for _ in $(seq 600); do [ -f "$2.ready" ] && break; kill -0 $program 2>/dev/null || break; sleep 0.1; done
        [ -f "$2.ready" ] || { echo "the window did not come up" >&2; kill $program 2>/dev/null; wineserver -k; exit 1; }
        import -window root -crop "$(cat "$2.ready")" +repage "png:$3"
        touch "$2.done"
        wait $program; rc=$?
        wineserver -w
        exit $rc' _ "$win_build/tests/viewer_screenshots_win32.exe" "$work/$name" "$output.new" "$@" ||
      fail "no picture $output was taken"
    [ -s "$output.new" ] || fail "no picture $output was taken"
    mv "$output.new" "$output"
    echo "written: $output"
  }
  # Windows that are not managed get their caption and frame from Wine
  # (Xvfb has no window manager to draw them); the prefix gets its own
  # setting back afterwards.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 ||
    fail "wine reg add Managed failed"
  wineserver -w
  take_picture "$root/docs/win32-viewer.png" viewer 'C:\windows\system32\mshtml.tlb'
  take_picture "$root/docs/win32-about.png" about
  wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
fi
wineserver -w
echo "Windows viewer stage passed."
