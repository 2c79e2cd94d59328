#!/usr/bin/env bash
# The registration check and the COM permissions against a real Wine
# prefix, in the Wine stage's prefix and a copy of it:
#   - the permission values of the prefix (Wine's own and the fixtures that
#     make_fixture_prefix wrote with `wine reg add /t REG_BINARY`): the SDDL
#     of brannock-cli.exe (advapi32's conversion) is the Linux build's,
#     line for line, but where tests/data/security/descriptors.txt names
#     Wine's own text for a descriptor;
#   - faults planted in a copy of the prefix with the real tools: a class
#     registered by "wine regsvr32" whose server file is then deleted, a
#     per-user class overriding a machine class and a per-user-only class,
#     a ProgID CurVer loop and a TreatAs loop ("wine reg add"): the findings
#     of --check after, less those before, are exactly those faults with
#     their key paths, in both builds, and the exit status says so (3).
# Prints the wall time of --check of the prefix as it was made (figures).
# Run by scripts/wine-stage.sh in its prefix (--in, see
# scripts/wine-opening.sh); runs on its own as well, in a throwaway prefix.
#   scripts/wine-check-stage.sh [--in DIR]
#   BRANNOCK_WIN_BUILD   the cross build folder (default build/win)
#   BRANNOCK_HOST_BUILD  the host build (default build/test when it exists,
#                        else build/wine-host)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-opening.sh wine-check-stage "$@"

step "cross build: brannock-cli.exe and the regsvr32 fixture server ($win_build)"
configure_win_build
cmake --build "$win_build" -j2 --target brannock-cli brannock_regsvr_fixture
win_cli=$win_build/src/app/brannock-cli.exe
fixture_dll=$win_build/tests/brannock_regsvr_fixture.dll

step "host build: brannock-cli"
build_host brannock-cli
host_cli=$host_build/src/app/brannock-cli

if [ $in_stage_prefix -eq 0 ]; then
  step "Wine prefix with the fixtures"
  make_fixture_prefix
fi
wineserver -w
chk=$work/check
rm -rf "$chk"
mkdir -p "$chk"

# --check --format csv of the registry of WINEPREFIX into FILE by both
# builds (FILE.linux, FILE.windows); each must end with exit status STATUS.
check_both() {
  local file=$1 want=$2 status
  status=0
  SystemRoot='C:\windows' "$host_cli" --registry "$WINEPREFIX" --check --format csv >"$file.linux" || status=$?
  [ "$status" -eq "$want" ] || fail "brannock-cli --check of $WINEPREFIX ended with $status, not $want"
  status=0
  wine "$win_cli" --check --format csv >"$file.windows.crlf" 2>"$file.windows.err" || status=$?
  [ "$status" -eq "$want" ] ||
    fail "brannock-cli.exe --check ended with $status, not $want:"$'\n'"$(head -20 "$file.windows.err")"
  tr -d '\r' <"$file.windows.crlf" >"$file.windows"
  wineserver -w
}

step "--check of the prefix as made, whole process (figures)"
start=$(date +%s%N)
status=0
SystemRoot='C:\windows' "$host_cli" --registry "$WINEPREFIX" --check >"$chk/made.txt" || status=$?
[ "$status" -eq 3 ] || fail "brannock-cli --check of the fixture prefix ended with $status, not 3 (its fixtures' faults)"
echo "Linux build, the prefix's files: $(( ($(date +%s%N) - start) / 1000000 )) ms, $(wc -l <"$chk/made.txt") lines"
start=$(date +%s%N)
wine "$win_cli" --check >/dev/null 2>&1 || true
echo "Windows build under Wine, the live registry: $(( ($(date +%s%N) - start) / 1000000 )) ms (Wine's start included)"
start=$(date +%s%N)
SystemRoot='C:\windows' "$host_cli" --registry "$WINEPREFIX" --check --libraries >"$chk/made-libraries.txt" || true
echo "Linux build, --check --libraries: $(( ($(date +%s%N) - start) / 1000000 )) ms, $(wc -l <"$chk/made-libraries.txt") lines"

step "the SDDL of every permission value: advapi32's conversion against the Linux build's decoder"
wine "$win_cli" --dump-security "$(winpath "$chk/security.windows.crlf")" || fail "brannock-cli.exe --dump-security failed"
wineserver -w
tr -d '\r' <"$chk/security.windows.crlf" >"$chk/security.windows"
"$host_cli" --registry "$WINEPREFIX" --dump-security "$chk/security.linux" || fail "brannock-cli --dump-security failed"
# The line each build must give for each planted fixture: its AppID's
# LaunchPermission, numbered in the file's order, and the machine's values.
awk -F' *[|] *' -v linux="$chk/expected.linux" -v windows="$chk/expected.windows" '
  /^#/ || NF < 2 { next }
  {
    n++
    key = sprintf("HKEY_CLASSES_ROOT\\AppID\\{B4A22500-0000-4000-8000-0000000000%02d} LaunchPermission: ", n)
    wine = NF >= 4 ? $4 : $3
    print key $3 >linux
    print key wine >windows
    value = ""
    if ($1 == "launch-default") value = "DefaultLaunchPermission"
    if ($1 == "access-default") value = "DefaultAccessPermission"
    if ($1 == "launch-restriction") value = "MachineLaunchRestriction"
    if ($1 == "access-restriction") value = "MachineAccessRestriction"
    if (value != "") {
      print "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Ole " value ": " $3 >linux
      print "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Ole " value ": " wine >windows
    }
  }' tests/data/security/descriptors.txt
for build in linux windows; do
  missing=$(grep -vxFf "$chk/security.$build" "$chk/expected.$build" || true)
  [ -z "$missing" ] || fail "the $build build's SDDL of the planted descriptors is not as expected; missing lines:"$'\n'"$missing"
done
# Every other line (Wine's own permission values) alike in both builds.
others=$(grep -vxFf "$chk/expected.linux" "$chk/security.linux" || true)
others_windows=$(grep -vxFf "$chk/expected.windows" "$chk/security.windows" || true)
[ "$others" = "$others_windows" ] ||
  fail "the SDDL of the prefix's own permission values differs:"$'\n'"$(diff <(echo "$others_windows") <(echo "$others"))"
echo "$(wc -l <"$chk/expected.linux") planted values and $(grep -c . <<<"$others" || true) of the prefix's own: the same SDDL"

step "faults planted in a copy of the prefix with wine regsvr32 and wine reg"
cp -a "$WINEPREFIX" "$chk/prefix"
export WINEPREFIX=$chk/prefix
check_both "$chk/before" 3
mkdir -p "$WINEPREFIX/drive_c/brannock-check"
cp "$fixture_dll" "$WINEPREFIX/drive_c/brannock-check/gone.dll"
cp "$fixture_dll" "$WINEPREFIX/drive_c/brannock-check/shadow.dll"
# A class whose server file is gone: registered by the server itself, then
# the file deleted, as an uninstaller that forgets regsvr32 /u leaves it.
wine regsvr32 /s 'C:\brannock-check\gone.dll' || fail "wine regsvr32 failed"
wineserver -w
rm "$WINEPREFIX/drive_c/brannock-check/gone.dll"
# Wine's standard font class ({0BE35203-...}, oleaut32) shadowed by a
# per-user class of the same CLSID; a class registered for this user alone.
stdfont='{0BE35203-8F91-11CE-9DE3-00AA004BB851}'
wine_reg_add "HKCU\\Software\\Classes\\CLSID\\$stdfont\\InprocServer32" /ve /d 'C:\brannock-check\shadow.dll'
wine_reg_add 'HKCU\Software\Classes\CLSID\{B4A22C10-0000-4000-8000-0000000000C0}' /ve /d 'Brannock Check User Class'
wine_reg_add 'HKCU\Software\Classes\CLSID\{B4A22C10-0000-4000-8000-0000000000C0}\InprocServer32' /ve \
  /d 'C:\brannock-check\shadow.dll'
# Two ProgIDs whose CurVer name each other; two classes that treat each as
# the other.
wine_reg_add 'HKLM\Software\Classes\Brannock.CheckLoop.1\CurVer' /ve /d 'Brannock.CheckLoop.2'
wine_reg_add 'HKLM\Software\Classes\Brannock.CheckLoop.2\CurVer' /ve /d 'Brannock.CheckLoop.1'
wine_reg_add 'HKLM\Software\Classes\CLSID\{B4A22C01-0000-4000-8000-0000000000C1}' /ve /d 'Brannock Check TreatAs 1'
wine_reg_add 'HKLM\Software\Classes\CLSID\{B4A22C01-0000-4000-8000-0000000000C1}\TreatAs' /ve \
  /d '{B4A22C02-0000-4000-8000-0000000000C2}'
wine_reg_add 'HKLM\Software\Classes\CLSID\{B4A22C02-0000-4000-8000-0000000000C2}' /ve /d 'Brannock Check TreatAs 2'
wine_reg_add 'HKLM\Software\Classes\CLSID\{B4A22C02-0000-4000-8000-0000000000C2}\TreatAs' /ve \
  /d '{B4A22C01-0000-4000-8000-0000000000C1}'
wineserver -w
check_both "$chk/after" 3

# The findings the faults add, in the check's order, and none it takes away
# (a machine class is named by its key below HKEY_CLASSES_ROOT, a per-user
# one below HKEY_CURRENT_USER).
expected="error;class;Brannock Registration Fixture;{B4A22F01-0000-4000-8000-0000000000F1};HKEY_CLASSES_ROOT\\CLSID\\{B4A22F01-0000-4000-8000-0000000000F1}\\InprocServer32;InprocServer32 C:\\brannock-check\\gone.dll does not exist
error;class;Brannock Check TreatAs 1;{B4A22C01-0000-4000-8000-0000000000C1};HKEY_CLASSES_ROOT\\CLSID\\{B4A22C01-0000-4000-8000-0000000000C1}\\TreatAs;TreatAs loops: {B4A22C01-0000-4000-8000-0000000000C1} -> {B4A22C02-0000-4000-8000-0000000000C2} -> {B4A22C01-0000-4000-8000-0000000000C1}
error;class;Brannock Check TreatAs 2;{B4A22C02-0000-4000-8000-0000000000C2};HKEY_CLASSES_ROOT\\CLSID\\{B4A22C02-0000-4000-8000-0000000000C2}\\TreatAs;TreatAs loops: {B4A22C02-0000-4000-8000-0000000000C2} -> {B4A22C01-0000-4000-8000-0000000000C1} -> {B4A22C02-0000-4000-8000-0000000000C2}
warning;class;Standard Font;$stdfont;HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\$stdfont;a per-user class overrides the machine's class of the same CLSID
note;class;Brannock Check User Class;{B4A22C10-0000-4000-8000-0000000000C0};HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{B4A22C10-0000-4000-8000-0000000000C0}\\InprocServer32;a per-user-only server: C:\\brannock-check\\shadow.dll
error;ProgID;Brannock.CheckLoop.1;;HKEY_CLASSES_ROOT\\Brannock.CheckLoop.1\\CurVer;CurVer loops: Brannock.CheckLoop.1 -> Brannock.CheckLoop.2 -> Brannock.CheckLoop.1
error;ProgID;Brannock.CheckLoop.2;;HKEY_CLASSES_ROOT\\Brannock.CheckLoop.2\\CurVer;CurVer loops: Brannock.CheckLoop.2 -> Brannock.CheckLoop.1 -> Brannock.CheckLoop.2"
# Wine's HKEY_CLASSES_ROOT shows the machine's classes alone, not the
# user's over them as Windows does: the Windows build under Wine sees no
# name for the per-user-only class and names it by its GUID. The Linux build
# merges the two as Windows does.
user_class='{B4A22C10-0000-4000-8000-0000000000C0}'
as_wine_shows() { sed "s/^note;class;Brannock Check User Class;$user_class;/note;class;$user_class;$user_class;/"; }
expected_linux=$expected
expected_windows=$(as_wine_shows <<<"$expected")
for build in linux windows; do
  [ "$build" = linux ] && expected=$expected_linux || expected=$expected_windows
  added=$(grep -vxFf "$chk/before.$build" "$chk/after.$build" || true)
  removed=$(grep -vxFf "$chk/after.$build" "$chk/before.$build" || true)
  [ -z "$removed" ] || fail "the planted faults took findings away ($build build):"$'\n'"$removed"
  [ "$(sort <<<"$added")" = "$(sort <<<"$expected")" ] ||
    fail "the $build build's findings of the planted faults are not as expected:"$'\n'"$(diff <(sort <<<"$expected") <(sort <<<"$added"))"
  echo "$build build: the $(wc -l <<<"$added") findings of the planted faults, exactly"
done
[ "$(as_wine_shows <"$chk/after.linux")" = "$(cat "$chk/after.windows")" ] ||
  fail "the builds' findings differ:"$'\n'"$(diff "$chk/after.windows" <(as_wine_shows <"$chk/after.linux"))"
echo "both builds: the same $(($(wc -l <"$chk/after.linux") - 1)) findings"
rm -rf "$chk"
echo "Wine check stage passed."
