#!/usr/bin/env bash
# The Windows build under Wine: the cross-built programs and unit tests run
# against Wine's real registry (advapi32), kernel32 and oleaut32 in a
# throwaway prefix that holds the fixtures of tests/data/wine/; then the
# Windows brannock-cli (live registry through advapi32) and the Linux one
# (the prefix's files) must write the same list files byte for byte and show
# the same value texts, except for the differences listed below.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

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
  [test_uilogic]='-TypeTree.FailuresWhileReading:TempPrefix.LocatesThroughDriveSystemAndWindowsDirectories:TempPrefix.The32BitViewFindsTheFilesOfSysWow64'
)

# A throwaway prefix; code page 1252, checked once the prefix is made.
source scripts/wine-prefix.sh wine
# The fixture's REG_EXPAND_SZ values refer to this variable. It is set in
# the prefix's user Environment key (below), from which Wine gives it to its
# programs and the Linux build takes the prefix's environment: both builds
# expand it alike, and the Linux build never sees the host's variables.
fixture_dir='C:\brannock-fixture'

step() { echo "-- $*"; }
fail() {
  echo "wine-stage: $*" >&2
  exit 1
}

step "cross build (build/win)"
cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DBRANNOCK_BENCH=OFF -DBRANNOCK_GUI=OFF >/dev/null
cmake --build build/win -j2 --target brannock-cli "${!windows_tests[@]}"
win_cli=build/win/src/app/brannock-cli.exe

step "host brannock-cli"
if [ -f build/test/build.ninja ]; then
  host_build=build/test  # the sanitizer build of ./test.sh, when there is one
else
  host_build=build/wine-host
  cmake -S . -B "$host_build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRANNOCK_TESTS=OFF -DBRANNOCK_GUI=OFF \
    -DBRANNOCK_BENCH=OFF >/dev/null
fi
cmake --build "$host_build" -j2 --target brannock-cli
host_cli=$host_build/src/app/brannock-cli

step "Wine prefix with the fixtures"
wineboot -i >/dev/null 2>&1
for reg in tests/data/wine/*.reg; do
  wine reg import "$(winpath "$reg")" >/dev/null 2>&1 || fail "wine reg import $reg failed"
done
# One more 32-bit class, the way a 32-bit program's installer writes it.
added32='HKCR\CLSID\{B4A22202-0000-4000-8000-000000000002}'
wine reg add "$added32" /ve /d 'Brannock reg:32' /reg:32 /f >/dev/null 2>&1 || fail "wine reg add /reg:32 failed"
wine reg add "$added32\InprocServer32" /ve /d 'C:\windows\system32\added32.dll' /reg:32 /f >/dev/null 2>&1 ||
  fail "wine reg add /reg:32 failed"
# IDL files compile with widl against Wine's own IDL and stdole2.tlb.
idl_dir=$(dirname "$(ls /usr/include/wine/wine/windows/oaidl.idl /usr/include/wine/windows/oaidl.idl 2>/dev/null | head -1)")
pe_dir=$(dirname "$(ls /usr/lib/x86_64-linux-gnu/wine/x86_64-windows/stdole2.tlb /usr/lib/wine/x86_64-windows/stdole2.tlb 2>/dev/null | head -1)")
# The file of the library that views.reg registers for 32-bit programs only.
widl -t -I "$idl_dir" -L "$pe_dir" -o "$WINEPREFIX/drive_c/windows/syswow64/brannock_view32.tlb" \
  tests/data/idl/minimal.idl || fail "widl minimal.idl failed"
wine reg add 'HKCU\Environment' /v BRANNOCK_FIXTURE_DIR /t REG_SZ /d "$fixture_dir" /f >/dev/null 2>&1 ||
  fail "wine reg add BRANNOCK_FIXTURE_DIR failed"
wineserver -w  # the registry is written to the prefix's files when the server ends
grep -q '^"ACP"="1252"' "$WINEPREFIX/system.reg" || fail "Wine's ANSI code page is not 1252 under LC_ALL=$LC_ALL"

step "Windows unit tests under Wine"
passed=0
failed=0
for t in "${!windows_tests[@]}"; do
  if (cd build/win/tests && wine "$t.exe" --gtest_brief=1 "--gtest_filter=${windows_tests[$t]}"); then
    passed=$((passed + 1))
  else
    echo "wine-stage: $t failed" >&2
    failed=$((failed + 1))
  fi
done
wineserver -w

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
# Known difference: Wine orders subkeys by lower-cased names, the file back
# ends by names with a to z upper-cased; keys and values are the same.
[ "$(grep '^\[' "$work/BrannockOrder.win" | tr '\n' ' ')" = \
  '[BrannockOrder] [BrannockOrder\[bracket] [BrannockOrder\_under] [BrannockOrder\a] [BrannockOrder\Z] [BrannockOrder\éa] [BrannockOrder\Êb] [BrannockOrder\ÿ] [BrannockOrder\ā] ' ] ||
  fail "Wine's subkey order changed"
[ "$(grep '^\[' "$work/BrannockOrder.linux" | tr '\n' ' ')" = \
  '[BrannockOrder] [BrannockOrder\a] [BrannockOrder\Z] [BrannockOrder\[bracket] [BrannockOrder\_under] [BrannockOrder\Êb] [BrannockOrder\éa] [BrannockOrder\ÿ] [BrannockOrder\ā] ' ] ||
  fail "the file back ends' subkey order changed"
for side in win linux; do sort "$work/BrannockOrder.$side" >"$work/BrannockOrder.$side.compared"; done
for key in CLSID TypeLib AppID Interface BrannockOrder; do
  a=$work/$key.win b=$work/$key.linux
  [ -f "$a.compared" ] && a=$a.compared b=$b.compared
  if diff -q "$a" "$b" >/dev/null; then
    echo "$key: same value texts ($(grep -c '^\[' "$work/$key.win") keys)"
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
# The widl fixtures, placed on the prefix's C: drive outside system32 so
# that both builds are given the same Windows path; the libraries of
# tests/data/idl/imported/ go to a folder of their own, where the libraries
# that import them do not find them.
fixtures=$WINEPREFIX/drive_c/brannock-render
mkdir -p "$fixtures/imported"
for idl in tests/data/idl/imported/*.idl; do
  widl -t -I "$idl_dir" -L "$pe_dir" -o "$fixtures/imported/$(basename "${idl%.idl}").tlb" "$idl" ||
    fail "widl $idl failed"
done
for idl in tests/data/idl/*.idl; do
  widl -t -I "$idl_dir" -I tests/data/idl/imported -L "$pe_dir" -L "$fixtures/imported" \
    -o "$fixtures/$(basename "${idl%.idl}").tlb" "$idl" || fail "widl $idl failed"
done
render_parity() { # NAME, then the render option and its arguments
  local name=$1
  shift
  wine "$win_cli" "$@" >"$work/$name.win.unit" || fail "brannock-cli.exe $* failed under Wine"
  "$host_cli" --registry "$WINEPREFIX" "$@" >"$work/$name.linux.unit" || fail "brannock-cli $* failed"
  # Wine's named departures from Windows (see the script) taken out.
  scripts/render-known-differences.pl "$work/$name.win.unit" "$work/$name.linux.unit" >"$work/$name.win.adjusted" \
    2>/dev/null || fail "render-known-differences.pl failed on $name"
  if cmp -s "$work/$name.win.adjusted" "$work/$name.linux.unit"; then
    echo "$name: same unit ($(wc -l <"$work/$name.win.unit") lines)"
  else
    diff "$work/$name.win.adjusted" "$work/$name.linux.unit" | head -20 || true
    fail "the unit of $name differs between the Windows and the Linux build"
  fi
}
for name in render_demo dispatch_forms dispatch_declared import_missing; do
  render_parity "$name" --render "C:\\brannock-render\\$name.tlb"
  diff <(tail -n +2 "$work/$name.win.adjusted") <(tail -n +2 "tests/data/render/$name.txt") >/dev/null ||
    fail "the unit of $name.tlb differs from tests/data/render/$name.txt"
done
grep -q 'const lcid Param1: LongInt; const Param2: WideString); dispid 1;' "$work/dispatch_forms.win.unit" ||
  fail "Wine's oleaut32 no longer keeps an [lcid] parameter that is not the last one"
render_parity mshtml --render 'C:\windows\system32\mshtml.tlb'
render_parity stdole2 --render-typelib '{00020430-0000-0000-C000-000000000046}' 2.0
# Every library of the prefix: the files of system32 and every registration.
scripts/wine-render-parity.sh "$win_cli" "$host_cli" "$work" "$fixtures"

step "a library in a folder of its own, stdole2 registered in the long-path form"
# Once a program has loaded, through oleaut32, a library that imports
# stdole2 from outside system32, Wine may register stdole2 (and its
# HELPDIR) in the long-path form; the registration is rewritten here in
# that form whatever Wine did, and the duals of a library in its own folder
# must still render in full.
stdole_key='HKCR\TypeLib\{00020430-0000-0000-C000-000000000046}\2.0'
for platform in win32 win64; do
  wine reg add "$stdole_key\\0\\$platform" /ve /d '\\?\C:\windows\system32\stdole2.tlb' /f >/dev/null 2>&1 ||
    fail "reg add $stdole_key\\0\\$platform failed"
done
wine reg add "$stdole_key\\HELPDIR" /ve /d '\\?\C:\windows\system32' /f >/dev/null 2>&1 || fail "reg add HELPDIR failed"
wineserver -w
grep -qF '@="\\\\?\\C:\\windows\\system32\\stdole2.tlb"' "$WINEPREFIX/system.reg" ||
  fail "stdole2's registration was not rewritten in the long-path form"
for name in dispatch_forms import_missing; do
  render_parity "$name-long-path" --render "C:\\brannock-render\\$name.tlb"
  grep -q 'procedure QueryInterface(' "$work/$name-long-path.linux.unit" ||
    fail "the duals of $name.tlb lost IUnknown's functions with stdole2 registered in the long-path form"
  grep -q '0x8002802B' "$work/$name-long-path.linux.unit" && fail "$name.tlb: a function of a dual is missing"
done
# The Windows type library viewer and About dialog under Xvfb, in this
# prefix, once the Windows window program is part of the build.
if [ -f src/ui/win32/CMakeLists.txt ]; then
  BRANNOCK_PREFIX_READY=1 work=$work scripts/wine-viewer-stage.sh
fi

echo "Windows unit test programs under Wine: $passed passed, $failed failed"
[ "$failed" -eq 0 ] || exit 1

# The window program: brannock.exe's batch switches and its main window
# under Xvfb, in this prefix.
BRANNOCK_PREFIX_READY=1 work=$work scripts/wine-window-stage.sh
scripts/wine-actions-stage.sh  # the object commands: real regsvr32 and test instances
echo "Wine stage passed."
