#!/usr/bin/env bash
# The Windows window program under Wine with Xvfb: brannock.exe's batch
# switches without any window, then test_uiwin32.exe drives the real main
# window in a prefix holding the fixtures of tests/data/wine/ and compares
# its pane with what the Linux build shows for the same prefix
# (brannock-pane-lines), its findings of the registration check with the
# Linux brannock-cli's, its saved lists with brannock-cli.exe's, runs the
# real regsvr32 and COM; last the settings it wrote are looked up in the
# prefix's user.reg.
# Run by scripts/wine-stage.sh in its prefix (--in, see
# scripts/wine-opening.sh); runs on its own as well, in a throwaway prefix.
#   scripts/wine-window-stage.sh [--in DIR]
#   BRANNOCK_WIN_BUILD   the cross build folder (default build/win)
#   BRANNOCK_HOST_BUILD  the host build (default build/test when it exists,
#                        else build/wine-host)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-opening.sh wine-window-stage "$@"

step "cross build: brannock.exe and its window tests ($win_build)"
configure_win_build
cmake --build "$win_build" -j2 --target brannock brannock-cli test_uiwin32 brannock_regsvr_fixture
win_exe=$win_build/src/app/win32/brannock.exe
win_cli=$win_build/src/app/brannock-cli.exe

step "host build: the Linux build's pane lines and its brannock-cli"
build_host brannock-pane-lines brannock-cli

if [ $in_stage_prefix -eq 0 ]; then
  step "Wine prefix with the fixtures"
  make_fixture_prefix
fi
wineserver -w
mkdir -p "$WINEPREFIX/drive_c/brannock-fixture"
cp src/app/win32/brannock.ico "$WINEPREFIX/drive_c/brannock-fixture/icon.ico"
out=$work/window
rm -rf "$out"
mkdir -p "$out/cli" "$out/batch"

step "brannock.exe batch switches: no window, exit code 0, the command-line program's files"
wine "$win_cli" -SA -SI -SO -ST --out-dir "$(winpath "$out/cli")" || fail "brannock-cli.exe batch export failed"
cp "$win_exe" "$out/batch/brannock.exe"
# No display at all: a window would need one.
if ! (unset DISPLAY WAYLAND_DISPLAY && wine "$out/batch/brannock.exe" -sa /SI -So /st) 2>"$out/batch.err"; then
  cat "$out/batch.err" >&2
  fail "brannock.exe -sa /SI -So /st did not end with exit code 0"
fi
grep -qi 'driver' "$out/batch.err" && fail "brannock.exe tried to open a window: $(cat "$out/batch.err")"
for f in AppIds.csv Intfs.csv ObjClasses.csv TypeLibs.csv; do
  cmp "$out/cli/$f" "$out/batch/$f" || fail "$f of brannock.exe differs from brannock-cli.exe's"
done
echo "batch: the four list files equal brannock-cli.exe's"
# --view: the 32-bit view's lists as brannock-cli.exe writes them; a value
# other than 32 or 64 ends the program with exit code 2 before any window.
mkdir -p "$out/cli32" "$out/batch32"
wine "$win_cli" --view 32 -SA -SI -SO -ST --out-dir "$(winpath "$out/cli32")" || fail "brannock-cli.exe --view 32 failed"
cp "$win_exe" "$out/batch32/brannock.exe"
(unset DISPLAY WAYLAND_DISPLAY && wine "$out/batch32/brannock.exe" -SA --view 32 -SI -SO -ST) 2>"$out/batch32.err" ||
  fail "brannock.exe --view 32 -SA -SI -SO -ST failed: $(cat "$out/batch32.err")"
for f in AppIds.csv Intfs.csv ObjClasses.csv TypeLibs.csv; do
  cmp "$out/cli32/$f" "$out/batch32/$f" || fail "$f of brannock.exe --view 32 differs from brannock-cli.exe's"
done
grep -q 'Brannock 32-bit Only' "$out/batch32/ObjClasses.csv" || fail "brannock.exe --view 32 lists no 32-bit class"
grep -q 'Brannock 32-bit Only' "$out/batch/ObjClasses.csv" && fail "brannock.exe lists a 32-bit class in the 64-bit view"
status=0
(unset DISPLAY WAYLAND_DISPLAY && wine "$out/batch32/brannock.exe" --view 48 -SO) 2>"$out/view48.err" || status=$?
[ "$status" -eq 2 ] || fail "brannock.exe --view 48 ended with $status, not 2"
grep -q "brannock: option '--view' needs 32 or 64, not '48'" "$out/view48.err" ||
  fail "brannock.exe --view 48: $(cat "$out/view48.err")"
echo "batch: --view 32 lists equal brannock-cli.exe's; --view 48 refused"
# --help on standard output when it goes to a file (a box otherwise), made
# from the option table as the host test of the table checks it.
(unset DISPLAY WAYLAND_DISPLAY && wine "$win_exe" --help) >"$out/help.txt" 2>"$out/help.err" ||
  fail "brannock.exe --help failed: $(cat "$out/help.err")"
for word in 'Usage: brannock.exe [OPTIONS]' '--view 32|64' '-SA -SI -SO -ST' '--version'; do
  grep -qF -- "$word" "$out/help.txt" || fail "brannock.exe --help does not name $word: $(cat "$out/help.txt")"
done
grep -qF -- '--registry' "$out/help.txt" && fail "brannock.exe --help names --registry, which it does not take"
echo "brannock.exe --help: its options on standard output"

step "the Linux build's panes of the fixture objects"
# Wine's dictionary class and stdole2's library beside the fixtures.
SystemRoot='C:\windows' "$host_build/tests/brannock-pane-lines" "$WINEPREFIX" \
  '0:{EE09B103-97E0-11CF-978F-00A02463E06F}' '1:{00020430-0000-0000-C000-000000000046}' >"$out/pane.txt" ||
  fail "brannock-pane-lines failed"
echo "$(grep -c '^object' "$out/pane.txt") panes"
# The findings the window's Object > "Check Registrations" must list.
status=0
SystemRoot='C:\windows' "$host_build/src/app/brannock-cli" --registry "$WINEPREFIX" --format csv --check \
  >"$out/check.csv" || status=$?
[ "$status" -eq 3 ] || fail "brannock-cli --check of the prefix ended with $status, not 3 (the fixtures' findings)"
echo "$(($(wc -l <"$out/check.csv") - 1)) findings of the registration check"

step "the main window under Wine with Xvfb"
fixture_dll=$out/brannock_regsvr_fixture.dll
cp "$win_build/tests/brannock_regsvr_fixture.dll" "$fixture_dll"
export BRANNOCK_PANE_EXPECTED BRANNOCK_CHECK_EXPECTED BRANNOCK_CLI_LISTS BRANNOCK_REGSVR_FIXTURE BRANNOCK_WINDOW_SETTINGS=1
BRANNOCK_PANE_EXPECTED=$(winpath "$out/pane.txt")
BRANNOCK_CHECK_EXPECTED=$(winpath "$out/check.csv")
BRANNOCK_CLI_LISTS=$(winpath "$out/cli")
BRANNOCK_REGSVR_FIXTURE=$(winpath "$fixture_dll")
test_exe=$(realpath "$win_build/tests/test_uiwin32.exe")
# The console programs above may have started Wine's desktop process
# without a display, on which no window can be made: let that server end.
wineserver -w
# Win32Screenshot.* is the picture for the README (scripts/screenshot-win32.sh),
# WineCompare.* runs in scripts/wine-compare-stage.sh.
xvfb-run -a -s '-screen 0 1280x1024x24' bash -c \
  'wine "$1" --gtest_brief=1 --gtest_filter=-Win32Screenshot.*:WineCompare.* "$2"; rc=$?; wineserver -w; exit $rc' _ "$test_exe" \
  "--gtest_output=xml:$(winpath "$out/window-tests.xml")" || fail "the window tests failed under Wine"
note_test_skips "in the window stage" "$out/window-tests.xml"
wineserver -w
echo "window tests done after ${SECONDS}s of this stage"

step "the window's settings in the prefix's user.reg"
settings=$(awk '/^\[Software\\\\Velkar\\\\Brannock\\\\1.x\\\\frmMain\]/{on=1; next} /^\[/{on=0} on' "$WINEPREFIX/user.reg")
for value in FormVersion ShowCmd Flags PixelsPerInch MinMaxPos NormPos Tree_Width; do
  grep -q "^\"$value\"=" <<<"$settings" || fail "user.reg lacks $value below frmMain"
done
grep -q '^"ShowCmd"=dword:00000003' <<<"$settings" || fail "user.reg does not hold the maximized window"
grep -q '^"NormPos([0-9]*x[0-9]*)"="' <<<"$settings" || fail "user.reg lacks the desktop's NormPos"
echo "Wine window stage passed."
