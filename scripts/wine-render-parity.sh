#!/usr/bin/env bash
# Rendered units of the type libraries of a Wine prefix, through oleaut32
# under Wine (the Windows build) and through the file reader (the Linux
# build), compared line by line: the files of system32 that
# tests/data/wine/system32-typelibs.txt lists, every registered library by
# GUID and version, the project's widl fixtures and the real-world libraries
# of ../shared/fixtures/real/typelib/, the last two from a folder of their
# own outside system32; then two fixtures again once stdole2 is registered
# in the long-path form.
#   scripts/wine-render-parity.sh WINDOWS_CLI HOST_CLI DUALS_EXE WORK_DIR FIXTURE_TLB_DIR
# DUALS_EXE is the cross-built brannock-dual-functions.exe; the prefix is
# WORK_DIR/prefix, set up as the Wine stage does it. The IDL of each library
# (--language idl) is compared the same way; its accepted differences
# (scripts/idl-known-differences.pl) go to
# WORK_DIR/idl-known-differences.observed. Each accepted difference
# (scripts/render-known-differences.pl, and the units Wine's oleaut32
# faults on) is written to WORK_DIR/known-differences.observed, for the
# Wine stage to hold against tests/data/wine/known-differences.txt. Without
# ../shared/fixtures/real/ the real libraries are skipped (failed under CI).
# PARITY_PARTS (by hand) chooses among
# "system32 registered fixtures real long-path".
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh wine-render-parity
source scripts/wine-prefix.sh render-parity "$4"
parts=" ${PARITY_PARTS:-system32 registered fixtures real long-path} "
win_cli=$1 host_cli=$2 duals_exe=$3 observed=$4/known-differences.observed fixture_tlbs=$5
idl_observed=$4/idl-known-differences.observed
sys32=$WINEPREFIX/drive_c/windows/system32
own=$WINEPREFIX/drive_c/brannock-tlb
real=$root/../shared/fixtures/real/typelib
mkdir -p "$own"
wanted() { [[ $parts == *" $1 "* ]]; }

# Compares the two units of one library, in a job of its own: NAME (the
# unit's name in the known differences), HOST_FILE (the library's file on
# this side, or "-"), LOADS ("must-load" or "may-fail-alike"), then the
# render option and its arguments. The outcome goes to files named after
# the unit: .result ("identical", "known", "fails-alike", "fault"), the
# observed known differences, or .failed with the reason.
compare() {
  local name=$1 file=$2 loads=$3
  shift 3
  local base=$work/${name//\//__}
  local win=$base.win linux=$base.linux status=0 host_status=0
  failed() { echo "$*" >"$base.failed"; }
  "$host_cli" --registry "$WINEPREFIX" "$@" >"$linux" 2>"$linux.err" </dev/null || host_status=$?
  wine "$win_cli" "$@" >"$win" 2>"$win.err" </dev/null || status=$?
  if [ $host_status -ne 0 ]; then
    [ "$loads" = may-fail-alike ] || { failed "brannock-cli $* failed: $(cat "$linux.err")"; return; }
    # A registration naming a missing file fails alike, with the same code;
    # Wine has no message text for most type library codes.
    [ $status -ne 0 ] || { failed "brannock-cli $* failed but loads under Wine: $(cat "$linux.err")"; return; }
    [ "$(grep -o 'Error code: 0x[0-9A-F]*' "$win.err")" = "$(grep -o 'Error code: 0x[0-9A-F]*' "$linux.err")" ] || {
      failed "brannock-cli $* fails with another code than under Wine: $(cat "$linux.err") / $(cat "$win.err")"
      return
    }
    echo fails-alike >"$base.result"
    return
  fi
  if grep -q '^Unhandled exception: page fault' "$win" "$win.err"; then
    echo "fault $name" >"$base.known"
    echo fault >"$base.result"
    return
  fi
  [ $status -eq 0 ] || {
    failed "brannock-cli.exe $* failed under Wine (exit status $status): $(cat "$win.err") $(head -c 300 "$win")"
    return
  }
  if cmp -s "$win" "$linux"; then
    echo "identical $(wc -l <"$linux")" >"$base.result"
    return
  fi
  local extra=()
  [ "$file" = - ] || extra=(--library "$file")
  if [ "$file" != - ] && grep -q '(Error code: 0x80029C4A)$' "$win"; then
    # Dual interfaces whose bases Wine cannot load: their own functions as
    # oleaut32's interface view describes them.
    wine "$duals_exe" "$(winpath "$file")" >"$base.duals" 2>"$base.duals.err" </dev/null ||
      { failed "brannock-dual-functions.exe $file failed: $(cat "$base.duals.err")"; return; }
    extra+=(--duals "$base.duals")
  fi
  scripts/render-known-differences.pl "$win" "$linux" "${extra[@]}" >"$win.adjusted" 2>"$win.classes" ||
    { failed "render-known-differences.pl failed on $name: $(cat "$win.classes")"; return; }
  if ! cmp -s "$win.adjusted" "$linux"; then
    failed "the unit of $name differs between oleaut32 under Wine and the file reader:
$(diff "$win.adjusted" "$linux" | head -20)"
    return
  fi
  # The name through the environment: awk -v would read the "\3" of FILE\3 as an escape.
  unit=$name awk '$2 > 0 { print "render", ENVIRON["unit"], $1, $2 }' "$win.classes" >"$base.known"
  echo "known $(wc -l <"$linux")" >"$base.result"
}

# The IDL of one library from both sides, after its unit compared: NAME,
# HOST_FILE (or "-"), then the render option and its arguments. The same
# text, or the same once scripts/idl-known-differences.pl has taken Wine's
# departures; those go to .idl-known, the outcome to .idl-result ("identical"
# or "known" and the lines compared), the reason of a difference to .failed.
compare_idl() {
  local name=$1 file=$2
  shift 2
  local base=$work/${name//\//__}
  local win=$base.idl.win linux=$base.idl.linux status=0
  failed() { echo "$*" >"$base.failed"; }
  "$host_cli" --registry "$WINEPREFIX" "$@" --language idl >"$linux" 2>"$linux.err" </dev/null ||
    { failed "brannock-cli $* --language idl failed: $(cat "$linux.err")"; return; }
  wine "$win_cli" "$@" --language idl >"$win" 2>"$win.err" </dev/null || status=$?
  [ $status -eq 0 ] || { failed "brannock-cli.exe $* --language idl failed under Wine: $(cat "$win.err")"; return; }
  if cmp -s "$win" "$linux"; then
    echo "identical $(wc -l <"$linux")" >"$base.idl-result"
    return
  fi
  local extra=()
  [ "$file" = - ] || extra=(--library "$file")
  scripts/idl-known-differences.pl "$win" "$linux" "${extra[@]}" >"$win.adjusted" 2>"$win.classes" ||
    { failed "idl-known-differences.pl failed on $name: $(cat "$win.classes")"; return; }
  if ! cmp -s "$win.adjusted" "$linux"; then
    failed "the IDL of $name differs between oleaut32 under Wine and the file reader:
$(diff "$win.adjusted" "$linux" | head -20)"
    return
  fi
  unit=$name awk '$2 > 0 { print "idl", ENVIRON["unit"], $1, $2 }' "$win.classes" >"$base.idl-known"
  echo "known $(wc -l <"$linux")" >"$base.idl-result"
}

# A library's unit, then its IDL when the unit rendered (a unit Wine faults
# on, or a registration that fails alike, has no IDL to compare). Each
# library whose IDL compared is named in .round-trip for the round trip
# through widl (scripts/wine-idl-round-trip.sh): NAME, HOST_FILE, then the
# render arguments, one a line.
compare_both() {
  local name=$1 file=$2 base=$work/${1//\//__}
  compare "$@"
  shift 3
  case "$(cat "$base.result" 2>/dev/null)" in
    identical* | known*) compare_idl "$name" "$file" "$@" ;;
    *) return ;;
  esac
  [ -f "$base.failed" ] || printf '%s\n' "$name" "$file" "$@" >"$base.round-trip"
}

# Two comparisons at a time (a Wine program and the host's reader each).
running=0
spawn() {
  compare_both "$@" &
  running=$((running + 1))
  if [ $running -ge 2 ]; then
    wait -n || true
    running=$((running - 1))
  fi
}

# A library copied into C:\brannock-tlb, rendered by its Windows path on
# both sides, and every further TYPELIB resource of the file as FILE\N.
outside() { # NAME, then the file
  local name=$1 f=$2 listed number
  cp "$f" "$own/"
  local path="C:\\brannock-tlb\\$(basename "$f")"
  spawn "$name" "$own/$(basename "$f")" must-load --render "$path"
  listed=$("$host_cli" --registry "$WINEPREFIX" --list-typelibs "$path") || fail "--list-typelibs $path failed: $listed"
  while read -r number _; do
    [ "$number" = 1 ] || spawn "$name\\$number" - must-load --render "$path\\$number"
  done <<<"$listed"
}
# The real libraries first: Wine takes longest over some of them.
if ! wanted real; then
  :
elif [ -d "$real" ]; then
  for f in "$real"/*/*; do
    outside "real/${f#"$real"/}" "$f"
  done
else
  skipped "the real-world libraries of the render parity" "../shared/fixtures/real is missing"
fi

# The listed files of system32: each must still load on both sides.
if wanted system32; then
  while read -r f; do
    [ -n "$f" ] && [ "${f:0:1}" != '#' ] || continue
    spawn "system32/$f" "$sys32/$f" must-load --render "C:\\windows\\system32\\$f"
  done <tests/data/wine/system32-typelibs.txt
fi

# Registered libraries: every version key below TypeLib of the prefix's
# machine registry, as Wine writes them to system.reg.
if wanted registered; then
  registered=$(sed -n 's/^\[Software\\\\Classes\\\\Typelib\\\\\({[0-9A-Fa-f-]*}\)\\\\\([0-9a-fA-F]*\.[0-9a-fA-F]*\)\] .*/\1 \2/Ip' \
    "$WINEPREFIX/system.reg" | sort -u)
  [ "$(wc -l <<<"$registered")" -ge 20 ] || fail "only $(wc -l <<<"$registered") registered libraries found in the prefix"
  while read -r guid version; do
    spawn "registered/$guid-$version" - may-fail-alike --render-typelib "$guid" "$version"
  done <<<"$registered"
fi

if wanted fixtures; then
  for f in "$fixture_tlbs"/*.tlb; do
    [ "$(basename "$f")" = stdole2.tlb ] || outside "fixture/$(basename "$f")" "$f"
  done
fi
wait

# Once a program has loaded, through oleaut32, a library that imports
# stdole2 from outside system32, Wine may register stdole2 (and its
# HELPDIR) in the long-path form; the registration is rewritten here in
# that form whatever Wine did, and the duals of a library in its own folder
# must still render in full.
if wanted long-path; then
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
    spawn "long-path/$name.tlb" - must-load --render "C:\\brannock-tlb\\$name.tlb"
  done
  wait
  for name in dispatch_forms import_missing; do
    grep -q 'procedure QueryInterface(' "$work/long-path__$name.tlb.linux" ||
      fail "the duals of $name.tlb lost IUnknown's functions with stdole2 registered in the long-path form"
    ! grep -q '0x8002802B' "$work/long-path__$name.tlb.linux" || fail "$name.tlb: a function of a dual is missing"
  done
fi

if ls "$work"/*.failed >/dev/null 2>&1; then
  cat "$work"/*.failed >&2
  fail "$(ls "$work"/*.failed | wc -l) units differ or do not load"
fi
# The widl fixtures' units, as oleaut32 renders them, are kept in
# tests/data/render/ (the reader's tests compare with them).
for expected in tests/data/render/*.txt; do
  unit=$work/fixture__$(basename "$expected" .txt).tlb.linux
  [ ! -f "$unit" ] || diff -q <(tail -n +2 "$unit") <(tail -n +2 "$expected") >/dev/null ||
    fail "the unit of $(basename "$expected" .txt).tlb differs from $expected"
done
cat "$work"/*.known >>"$observed" 2>/dev/null || true
cat "$work"/*.idl-known >>"$idl_observed" 2>/dev/null || true
awk '{ n[$1]++; lines += $2 } END {
  printf "render parity: %d units identical, %d with known differences, %d registrations fail alike, %d faults; %d lines compared\n",
    n["identical"], n["known"], n["fails-alike"], n["fault"], lines }' "$work"/*.result
awk '{ n[$1]++; lines += $2 } END {
  printf "IDL parity: %d libraries identical, %d with known differences; %d lines compared\n",
    n["identical"], n["known"], lines }' "$work"/*.idl-result
