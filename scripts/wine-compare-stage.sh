#!/usr/bin/env bash
# The comparison of two registries against Wine's own tools, in the Wine
# stage's prefix and a copy of it:
#   - the --snapshot of the live registry (the Windows build, advapi32) and of
#     the prefix's files (the Linux build), each compared with the prefix;
#   - Wine's regedit /E export of HKEY_CLASSES_ROOT, and a hive that
#     hivexregedit --merge makes from it, each compared with the prefix;
#   - an installation simulated in a copy of the prefix with the real tools
#     (the fixture server registered by "wine regsvr32", a library with its
#     interfaces by "wine reg import"): the comparison with the prefix
#     before lists exactly those objects as added, and so do both windows
#     under Xvfb ("Compare with...": the class with its badge and its added
#     lines, then "End Comparison"); after "wine regsvr32 /u" exactly the
#     imported library and its interfaces are left, after "wine reg delete"
#     nothing.
# Every comparison runs in both views where it says "no differences".
# Run by scripts/wine-stage.sh in its prefix (--in, see
# scripts/wine-opening.sh); runs on its own as well, in a throwaway prefix.
#   scripts/wine-compare-stage.sh [--in DIR]
#   BRANNOCK_WIN_BUILD   the cross build folder (default build/win)
#   BRANNOCK_HOST_BUILD  the host build (default build/test when it exists,
#                        else build/wine-host)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-opening.sh wine-compare-stage "$@"
command -v hivexregedit >/dev/null || fail "hivexregedit is missing (scripts/install-deps.sh test installs it)"

step "cross build: brannock-cli.exe and the regsvr32 fixture server ($win_build)"
configure_win_build
cmake --build "$win_build" -j2 --target brannock-cli brannock_regsvr_fixture test_uiwin32
win_cli=$win_build/src/app/brannock-cli.exe
fixture_dll=$win_build/tests/brannock_regsvr_fixture.dll

step "host build: brannock-cli, brannock-empty-hive and the Qt window's tests"
build_host brannock-cli brannock-empty-hive
qt_tests=$host_build/tests/test_ui_qt
if ninja -C "$host_build" -t query test_ui_qt >/dev/null 2>&1; then
  cmake --build "$host_build" -j2 --target test_ui_qt
else
  qt_tests=
fi
host_cli=$host_build/src/app/brannock-cli
empty_hive=$host_build/tests/brannock-empty-hive

if [ $in_stage_prefix -eq 0 ]; then
  step "Wine prefix with the fixtures"
  make_fixture_prefix
fi
wineserver -w
cmp_dir=$work/compare
rm -rf "$cmp_dir"
mkdir -p "$cmp_dir"

# brannock-cli with the arguments given must find no difference, in both
# views: the registry shown is the first, the earlier one the second.
no_differences() {
  local now=$1 before=$2 view out status
  for view in 64 32; do
    status=0
    out=$("$host_cli" --view "$view" --registry "$now" --compare "$before") || status=$?
    [ "$status" -eq 0 ] && [ "$out" = "0 added, 0 removed, 0 changed" ] ||
      fail "$now against $before (view $view) gave exit status $status:"$'\n'"$(head -40 <<<"$out")"
  done
  echo "no differences: $(basename "$now") against $(basename "$before"), both views"
}

step "--snapshot of the live registry and of the prefix's files, each against the prefix"
wine "$win_cli" --snapshot "$(winpath "$cmp_dir/live.reg")" || fail "brannock-cli.exe --snapshot failed"
"$host_cli" --registry "$WINEPREFIX" --snapshot "$cmp_dir/files.reg" || fail "brannock-cli --snapshot failed"
no_differences "$cmp_dir/live.reg" "$WINEPREFIX"
no_differences "$cmp_dir/files.reg" "$WINEPREFIX"

step "Wine's regedit /E HKEY_CLASSES_ROOT, and a hive made from it by hivexregedit, against the prefix"
wine regedit /E "$(winpath "$cmp_dir/hkcr.reg")" HKEY_CLASSES_ROOT || fail "wine regedit /E failed"
no_differences "$cmp_dir/hkcr.reg" "$WINEPREFIX"
iconv -f UTF-16LE -t UTF-8 "$cmp_dir/hkcr.reg" | sed -e '1s/^\xEF\xBB\xBF//' -e 's/\r$//' >"$cmp_dir/hkcr-utf8.reg"
"$empty_hive" "$cmp_dir/hkcr.hiv"
PERL_UNICODE=D hivexregedit --merge --prefix 'HKEY_CLASSES_ROOT' "$cmp_dir/hkcr.hiv" "$cmp_dir/hkcr-utf8.reg" ||
  fail "hivexregedit --merge failed"
no_differences "$cmp_dir/hkcr.hiv" "$WINEPREFIX"
no_differences "$WINEPREFIX" "$cmp_dir/hkcr.hiv"

step "an installation simulated in a copy of the prefix: wine regsvr32, wine reg import"
# The state before: the prefix's registry files (all a reader needs).
mkdir -p "$cmp_dir/before"
cp "$WINEPREFIX"/*.reg "$cmp_dir/before/"
cp -a "$WINEPREFIX" "$cmp_dir/prefix"
cp "$fixture_dll" "$cmp_dir/prefix/drive_c/brannock_compare_fixture.dll"
installed_keys=('HKCR\TypeLib\{B4A22701-0000-4000-8000-000000000701}'
  'HKCR\Interface\{B4A22711-0000-4000-8000-000000000711}'
  'HKCR\Interface\{B4A22712-0000-4000-8000-000000000712}')
(
  export WINEPREFIX=$cmp_dir/prefix
  wine regsvr32 /s 'C:\brannock_compare_fixture.dll' || fail "wine regsvr32 failed"
  wine reg import "$(winpath tests/data/compare/installed_library.reg)" >/dev/null 2>&1 ||
    fail "wine reg import installed_library.reg failed"
  wineserver -w
)
status=0
out=$("$host_cli" --registry "$cmp_dir/prefix" --compare "$cmp_dir/before") || status=$?
# Wine 8.0 changes no other key on the way; a side change it made would show
# here and has to be named in this text.
expected="Object Classes
added   {B4A22F01-0000-4000-8000-0000000000F1} Brannock Registration Fixture
Type Libraries
added   {B4A22701-0000-4000-8000-000000000701} Brannock Compare Fixture Library
Interfaces
added   {B4A22711-0000-4000-8000-000000000711} ICompareFixture
added   {B4A22712-0000-4000-8000-000000000712} ICompareFixtureEvents
4 added, 0 removed, 0 changed"
[ "$status" -eq 3 ] || fail "the installation gave exit status $status"
[ "$out" = "$expected" ] || fail "the installation's comparison is not as expected:"$'\n'"$(diff <(echo "$expected") <(echo "$out"))"
echo "$out"
csv=$("$host_cli" --registry "$cmp_dir/prefix" --compare "$cmp_dir/before" --format csv) || true
grep -qxF 'Object Classes;{B4A22F01-0000-4000-8000-0000000000F1};Brannock Registration Fixture;added;CLSID\{B4A22F01-0000-4000-8000-0000000000F1}\InprocServer32;;C:\brannock_compare_fixture.dll' \
  <<<"$csv" || fail "the CSV lacks the server of the registered class:"$'\n'"$csv"

step "both windows under Xvfb: Compare with... on the copy with the server registered"
(
  export WINEPREFIX=$cmp_dir/prefix BRANNOCK_COMPARE_BEFORE
  BRANNOCK_COMPARE_BEFORE=$(winpath "$cmp_dir/before/system.reg")
  wineserver -w
  xvfb-run -a -s '-screen 0 1280x1024x24' bash -c \
    'wine "$1" --gtest_brief=1 --gtest_filter=WineCompare.* "$2"; rc=$?; wineserver -w; exit $rc' _ \
    "$(realpath "$win_build/tests/test_uiwin32.exe")" "--gtest_output=xml:$(winpath "$cmp_dir/win32-window.xml")" ||
    fail "the Win32 window's comparison failed"
)
note_test_skips "in the compare stage (Win32 window)" "$cmp_dir/win32-window.xml"
if [ -n "$qt_tests" ]; then
  # On a display Qt loads the system's D-Bus library, whose buffer the
  # sanitizer build would report as a leak.
  LSAN_OPTIONS=suppressions=$root/scripts/lsan-system-libraries.supp \
    BRANNOCK_COMPARE_NOW=$cmp_dir/prefix BRANNOCK_COMPARE_BEFORE=$cmp_dir/before QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s '-screen 0 1280x1024x24' "$qt_tests" --gtest_brief=1 --gtest_filter='WineCompare.*' \
    "--gtest_output=xml:$cmp_dir/qt-window.xml" || fail "the Qt window's comparison failed"
  note_test_skips "in the compare stage (Qt window)" "$cmp_dir/qt-window.xml"
else
  skipped "the Qt window's comparison under Xvfb" "the host build has no Qt window tests"
fi

step "after wine regsvr32 /u: the imported library is what is left; after wine reg delete, nothing"
(
  export WINEPREFIX=$cmp_dir/prefix
  wine regsvr32 /s /u 'C:\brannock_compare_fixture.dll' || fail "wine regsvr32 /u failed"
  wineserver -w
)
status=0
out=$("$host_cli" --registry "$cmp_dir/prefix" --compare "$cmp_dir/before") || status=$?
expected="Type Libraries
added   {B4A22701-0000-4000-8000-000000000701} Brannock Compare Fixture Library
Interfaces
added   {B4A22711-0000-4000-8000-000000000711} ICompareFixture
added   {B4A22712-0000-4000-8000-000000000712} ICompareFixtureEvents
3 added, 0 removed, 0 changed"
[ "$status" -eq 3 ] && [ "$out" = "$expected" ] ||
  fail "after regsvr32 /u (exit status $status):"$'\n'"$(diff <(echo "$expected") <(echo "$out"))"
(
  export WINEPREFIX=$cmp_dir/prefix
  for key in "${installed_keys[@]}"; do
    wine reg delete "$key" /f >/dev/null 2>&1 || fail "wine reg delete $key failed"
  done
  wineserver -w
)
no_differences "$cmp_dir/prefix" "$cmp_dir/before"
rm -rf "$cmp_dir"
echo "Wine compare stage passed."
