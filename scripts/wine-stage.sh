#!/usr/bin/env bash
# The Windows build under Wine: the cross-built programs and unit tests run
# against Wine's real registry (advapi32), kernel32 and oleaut32 in a
# throwaway prefix that holds the fixtures of tests/data/wine/; then the
# Windows brannock-cli (live registry through advapi32) and the Linux one
# (the prefix's files) must write the same list files byte for byte, show
# the same value texts and render the same units and the same IDL, except
# for the differences tests/data/wine/known-differences.txt and
# idl-known-differences.txt list; then the IDL of every library rendered
# goes through widl and back (scripts/wine-idl-round-trip.sh); then the
# viewer, window, compare, check and references stages run in the same
# prefix, the object command stage in one of its own, and the windows at
# 144 dpi in one of their own.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-opening.sh wine-stage "$@"

scripts/install-deps.sh build test wine

# Windows test programs built and run under Wine, each with its gtest filter.
# The window logic tests left out expect the POSIX message table's texts
# and symbolic links.
declare -A windows_tests=(
  [test_common]='*'
  [test_platform]='*'
  [test_registry]='*'
  [test_catalogue]='*'
  [test_cli]='*'
  [test_typelib]='*'
  [test_analysis]='*'
  [test_uilogic]='-TypeTree.FailuresWhileReading:TempPrefix.LocatesThroughDriveSystemAndWindowsDirectories:TempPrefix.The32BitViewFindsTheFilesOfSysWow64'
)

step "cross build ($win_build)"
configure_win_build
cmake --build "$win_build" -j2 --target brannock-cli brannock-dual-functions "${!windows_tests[@]}"
win_cli=$win_build/src/app/brannock-cli.exe

step "host brannock-cli"
build_host brannock-cli
host_cli=$host_build/src/app/brannock-cli

step "Wine prefix with the fixtures"
make_fixture_prefix
# One more 32-bit class, the way a 32-bit program's installer writes it.
added32='HKCR\CLSID\{B4A22202-0000-4000-8000-000000000002}'
wine_reg_add "$added32" /ve /d 'Brannock reg:32' /reg:32
wine_reg_add "$added32\InprocServer32" /ve /d 'C:\windows\system32\added32.dll' /reg:32
# The file of the library that views.reg registers for 32-bit programs only.
widl_tlb "$WINEPREFIX/drive_c/windows/syswow64/brannock_view32.tlb" tests/data/idl/minimal.idl
wineserver -w
grep -q '^"ACP"="1252"' "$WINEPREFIX/system.reg" || fail "Wine's ANSI code page is not 1252 under LC_ALL=$LC_ALL"

step "Windows unit tests under Wine"
# All of them run; a failure ends the stage before anything else.
failed=()
mkdir -p "$work/results"
for t in "${!windows_tests[@]}"; do
  (cd "$win_build/tests" && wine "$t.exe" --gtest_brief=1 "--gtest_filter=${windows_tests[$t]}" \
    "--gtest_output=xml:$(winpath "$work/results/$t.xml")") || failed+=("$t")
done
wineserver -w
[ ${#failed[@]} -eq 0 ] || fail "the Windows unit tests failed under Wine: ${failed[*]}"
echo "Windows unit test programs under Wine: ${#windows_tests[@]} passed"
note_test_skips "under Wine" "$work/results"/*.xml

step "list file parity: advapi32 under Wine against the prefix's files"
mkdir -p "$work/lists-win" "$work/lists-linux"
wine "$win_cli" -SA -SI -SO -ST --out-dir "$(winpath "$work/lists-win")" || fail "brannock-cli.exe batch export failed"
"$host_cli" --registry "$WINEPREFIX" -SA -SI -SO -ST --out-dir "$work/lists-linux" || fail "brannock-cli batch export failed"
for f in AppIds.csv Intfs.csv ObjClasses.csv TypeLibs.csv; do
  if cmp "$work/lists-win/$f" "$work/lists-linux/$f"; then
    echo "$f: identical ($(wc -l <"$work/lists-win/$f") lines)"
  else
    diff <(iconv -f CP1252 -t UTF-8 "$work/lists-win/$f") <(iconv -f CP1252 -t UTF-8 "$work/lists-linux/$f") | head -20 || true
    fail "$f differs between the Windows and the Linux build"
  fi
done
# The fixtures are in the lists, as the catalogue names them (code page 1252).
expect_line() {
  grep -qxF -- "$(printf '%b\r' "$2")" "$work/lists-win/$1" || fail "$1 lacks the line: $2"
}
expect_line ObjClasses.csv 'Brannock Test; Class; with semicolons;{B4A22001-0000-4000-8000-000000000001}'
expect_line ObjClasses.csv '{B4A22002-0000-4000-8000-000000000002};{B4A22002-0000-4000-8000-000000000002}'
expect_line ObjClasses.csv 'L\xf3dz \xdcn\xefcode ?? \x96 \x93quoted\x94 \x80;{B4A22003-0000-4000-8000-000000000003}'
expect_line ObjClasses.csv '{b4a22004-0000-4000-8000-000000000004};{b4a22004-0000-4000-8000-000000000004}'
expect_line TypeLibs.csv 'Brannock Test Library;{B4A22010-0000-4000-8000-000000000010}'
expect_line TypeLibs.csv 'Zweite Bibliothek; mit Semikolon;{B4A22012-0000-4000-8000-000000000012}'
expect_line AppIds.csv 'Brannock Test AppID;{B4A22020-0000-4000-8000-000000000020}'
expect_line AppIds.csv 'brannock_test.exe;brannock_test.exe'
expect_line AppIds.csv 'Brannock \xdcber.exe;Brannock \xdcber.exe'
expect_line Intfs.csv '49 00 42 00;{B4A22031-0000-4000-8000-000000000031}'
expect_line Intfs.csv 'IBrannock;Semi;colon;{B4A22032-0000-4000-8000-000000000032}'
expect_line Intfs.csv 'IL\xf3dz\x80??;{B4A22034-0000-4000-8000-000000000034}'
expect_line Intfs.csv '7;{B4A22035-0000-4000-8000-000000000035}'
grep -q 'B4A22033' "$work/lists-win/Intfs.csv" && fail "an interface without a name is listed"

step "value text parity: every value of the catalogue keys"
# Wine's own processes see SystemRoot=C:\windows; the Linux build takes the
# prefix's environment from its registry, whatever the host's holds.
for key in CLSID TypeLib AppID Interface BrannockOrder; do
  wine "$win_cli" --dump-key "$key" "$(winpath "$work/$key.win")" || fail "--dump-key $key failed under Wine"
  SystemRoot='/host/root' "$host_cli" --registry "$WINEPREFIX" --dump-key "$key" "$work/$key.linux" ||
    fail "--dump-key $key failed"
done
# Both builds expand REG_EXPAND_SZ with their own expansion over the
# source's environment, which goes on from the second "%" after an unknown
# %NAME% as Windows does (Wine's ExpandEnvironmentStringsW would keep
# "%NAME%" whole): both must show it so.
partial='  "ExpandPartial" hex: '
for side in win linux; do
  grep -qxF "$partial%BRANNOCK_NO_SUCHC:\\brannock-fixture" "$work/CLSID.$side" ||
    fail "the expansion after an unknown variable changed ($side)"
done
# Wine orders subkeys by lower-cased names, the file back ends by names
# with a to z upper-cased: both orders are held here. A key whose value
# texts are the same but for the order is a known difference.
[ "$(grep '^\[' "$work/BrannockOrder.win" | tr '\n' ' ')" = \
  '[BrannockOrder] [BrannockOrder\[bracket] [BrannockOrder\_under] [BrannockOrder\a] [BrannockOrder\Z] [BrannockOrder\éa] [BrannockOrder\Êb] [BrannockOrder\ÿ] [BrannockOrder\ā] ' ] ||
  fail "Wine's subkey order changed"
[ "$(grep '^\[' "$work/BrannockOrder.linux" | tr '\n' ' ')" = \
  '[BrannockOrder] [BrannockOrder\a] [BrannockOrder\Z] [BrannockOrder\[bracket] [BrannockOrder\_under] [BrannockOrder\Êb] [BrannockOrder\éa] [BrannockOrder\ÿ] [BrannockOrder\ā] ' ] ||
  fail "the file back ends' subkey order changed"
for key in CLSID TypeLib AppID Interface BrannockOrder; do
  a=$work/$key.win b=$work/$key.linux
  if cmp -s "$a" "$b"; then
    echo "$key: same value texts ($(grep -c '^\[' "$a") keys)"
  elif cmp -s <(sort "$a") <(sort "$b"); then
    echo "subkey-order $key" >>"$work/known-differences.observed"
    echo "$key: same value texts in another order ($(grep -c '^\[' "$a") keys)"
  else
    diff "$a" "$b" | head -20 || true
    fail "value texts below $key differ between the Windows and the Linux build"
  fi
done

step "registry views: the 32-bit view of both builds"
views_start=$SECONDS
# The default (64-bit) lists above hold the 64-bit classes only.
expect_line ObjClasses.csv 'Brannock 64-bit Only;{B4A22204-0000-4000-8000-000000000004}'
grep -q 'B4A22201\|B4A22202' "$work/lists-win/ObjClasses.csv" && fail "a 32-bit class is in the 64-bit view"
mkdir -p "$work/lists32-win" "$work/lists32-linux"
wine "$win_cli" --view 32 -SA -SI -SO -ST --out-dir "$(winpath "$work/lists32-win")" ||
  fail "brannock-cli.exe --view 32 failed"
"$host_cli" --registry "$WINEPREFIX" --view 32 -SA -SI -SO -ST --out-dir "$work/lists32-linux" ||
  fail "brannock-cli --view 32 failed"
for f in AppIds.csv Intfs.csv ObjClasses.csv TypeLibs.csv; do
  cmp "$work/lists32-win/$f" "$work/lists32-linux/$f" || fail "$f of the 32-bit view differs between the builds"
  echo "32-bit $f: identical ($(wc -l <"$work/lists32-win/$f") lines)"
done
expect_line32() { grep -qxF -- "$(printf '%b\r' "$2")" "$work/lists32-win/$1" || fail "32-bit $1 lacks: $2"; }
expect_line32 ObjClasses.csv 'Brannock 32-bit Only;{B4A22201-0000-4000-8000-000000000001}'
expect_line32 ObjClasses.csv 'Brannock reg:32;{B4A22202-0000-4000-8000-000000000002}'
expect_line32 ObjClasses.csv 'Brannock Both Views;{B4A22203-0000-4000-8000-000000000003}'
expect_line32 Intfs.csv 'IBrannock32;{B4A22231-0000-4000-8000-000000000031}'
expect_line32 TypeLibs.csv 'Brannock View Library;{6A1B2C3D-1000-4A5B-8C9D-0123456789AB}'
expect_line32 AppIds.csv 'Brannock Test AppID;{B4A22020-0000-4000-8000-000000000020}'
grep -q 'B4A22204\|B4A22001' "$work/lists32-win/ObjClasses.csv" && fail "a 64-bit class is in the 32-bit view"
# Value texts: the category keys only. Known difference: Wine's 32-bit view
# holds just the keys below Wow6432Node (with links to the shared TypeLib
# and AppId), so shared keys that Wine does not link (BrannockOrder,
# ProgIDs) are missing there; Windows and the file back ends share them.
for key in CLSID Interface TypeLib AppID; do
  wine "$win_cli" --view 32 --dump-key "$key" "$(winpath "$work/$key.32.win")" || fail "--dump-key $key failed"
  SystemRoot='C:\windows' "$host_cli" --registry "$WINEPREFIX" --view 32 --dump-key "$key" "$work/$key.32.linux" ||
    fail "--dump-key $key failed"
  diff "$work/$key.32.win" "$work/$key.32.linux" | head -20 || true
  cmp -s "$work/$key.32.win" "$work/$key.32.linux" || fail "32-bit value texts below $key differ between the builds"
  echo "32-bit $key: same value texts ($(grep -c '^\[' "$work/$key.32.win") keys)"
done
grep -qF 'text: C:\Program Files (x86)\Brannock\both32.dll' "$work/CLSID.32.win" || fail "no 32-bit server text"
grep -qF 'text: C:\windows\system32\added32.dll' "$work/CLSID.32.win" || fail "no server of the reg:32 class"
# A library registered under win32 only, with its file in SysWOW64: the
# 32-bit view renders it, the 64-bit view fails alike in both builds.
render_view() { # VIEW, then the output's name
  local status=0
  wine "$win_cli" --view "$1" --render-typelib '{6A1B2C3D-1000-4A5B-8C9D-0123456789AB}' 1.0 \
    >"$work/$2.win" 2>"$work/$2.win.err" || status=$?
  local host_status=0
  "$host_cli" --registry "$WINEPREFIX" --view "$1" --render-typelib '{6A1B2C3D-1000-4A5B-8C9D-0123456789AB}' 1.0 \
    >"$work/$2.linux" 2>"$work/$2.linux.err" || host_status=$?
  [ "$status" -eq "$host_status" ] || fail "--view $1 --render-typelib: exit $status under Wine, $host_status on Linux"
  cmp -s "$work/$2.win" "$work/$2.linux" || fail "--view $1 --render-typelib: the units differ"
  [ "$(grep -o 'Error code: 0x[0-9A-F]*' "$work/$2.win.err")" = \
    "$(grep -o 'Error code: 0x[0-9A-F]*' "$work/$2.linux.err")" ] || fail "--view $1 --render-typelib: other codes"
  return "$status"
}
render_view 32 view32 || fail "the win32-only library does not render in the 32-bit view: $(cat "$work/view32.linux.err")"
grep -q '^unit MinimalLib;' "$work/view32.linux" || fail "the 32-bit view rendered another library"
render_view 64 view64 && fail "the win32-only library rendered in the 64-bit view"
echo "win32-only library: renders in the 32-bit view; in the 64-bit one both fail: $(cat "$work/view64.linux.err")"
echo "registry views checked in $((SECONDS - views_start)) s"


step "rendered unit parity: oleaut32 under Wine against the file reader"
# The widl fixtures; the libraries of tests/data/idl/imported/ go to a
# folder of their own, where the libraries that import them do not find
# them.
fixtures=$work/tlb
mkdir -p "$fixtures/imported"
for idl in tests/data/idl/imported/*.idl; do
  widl_tlb "$fixtures/imported/$(basename "${idl%.idl}").tlb" "$idl"
done
for idl in tests/data/idl/*.idl; do
  widl_tlb "$fixtures/$(basename "${idl%.idl}").tlb" "$idl" -I tests/data/idl/imported -L "$fixtures/imported"
done
timed_step "render parity" scripts/wine-render-parity.sh "$win_cli" "$host_cli" \
  "$win_build/tests/brannock-dual-functions.exe" "$work" "$fixtures"

step "known differences (tests/data/wine/known-differences.txt, idl-known-differences.txt)"
touch "$work/idl-known-differences.observed"
check_listed tests/data/wine/known-differences.txt "$work/known-differences.observed"
check_listed tests/data/wine/idl-known-differences.txt "$work/idl-known-differences.observed"
timed_step "IDL round trip through widl" scripts/wine-idl-round-trip.sh "$host_cli" "$work"

# The viewer, the main window, the comparison and the registration check
# (both of which change a copy) in this prefix, then Find and References
# (which register the shapes library in it), the object commands in a
# prefix of their own (they register and unregister a server), the windows
# at 144 dpi in one set to it.
timed_step "Windows viewer stage" scripts/wine-viewer-stage.sh --in "$work"
timed_step "Windows window stage" scripts/wine-window-stage.sh --in "$work"
timed_step "Wine compare stage" scripts/wine-compare-stage.sh --in "$work"
timed_step "Wine check stage" scripts/wine-check-stage.sh --in "$work"
timed_step "Wine references stage" scripts/wine-references-stage.sh --in "$work"
timed_step "Wine object command stage" scripts/wine-actions-stage.sh
timed_step "Wine 144-dpi stage" scripts/wine-dpi-stage.sh
echo "Wine stage passed."
