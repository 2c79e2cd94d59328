#!/usr/bin/env bash
# Rendered units of every type library of a Wine prefix, through oleaut32
# under Wine (the Windows build) and through the file reader (the Linux
# build), compared line by line: every registered library by GUID and
# version, every file of system32 that holds a TYPELIB resource, the
# project's widl fixtures and the real-world libraries of
# ../shared/fixtures/real/typelib/, the last two from a folder of their own
# outside system32.
#   scripts/wine-render-parity.sh WINDOWS_CLI HOST_CLI WORK_DIR [FIXTURE_TLB_DIR]
# WINEPREFIX names the prefix; Wine must be quiet and set up as the Wine stage
# does it (scripts/wine-prefix.sh). Without ../shared/fixtures/real/ the real
# libraries are skipped, except under CI (CI=true), where that fails.
# PARITY_PARTS (by hand) chooses among "system32 registered outside".
set -euo pipefail
parts=" ${PARITY_PARTS:-system32 registered outside} "
win_cli=$1 host_cli=$2 work=$3/render-parity fixture_tlbs=${4:-}
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$work"
sys32=$WINEPREFIX/drive_c/windows/system32

fail() {
  echo "wine-render-parity: $*" >&2
  exit 1
}

libraries=0 lines=0 known=0 failures=0 identical=0
# Lines adjusted per class of known difference (scripts/render-known-differences.pl).
declare -A known_lines=([lcid]=0 [unloadable-base]=0 [sltg-array]=0 [sltg-record-ref]=0)
declare -A files_with=([lcid]=0 [unloadable-base]=0 [sltg-array]=0 [sltg-record-ref]=0)
# Compares the two units of one library; NAME, then the render arguments.
compare() {
  local name=$1
  shift
  local win=$work/$name.win linux=$work/$name.linux
  local status=0 host_status=0
  "$host_cli" --registry "$WINEPREFIX" "$@" >"$linux" 2>"$linux.err" </dev/null || host_status=$?
  wine "$win_cli" "$@" >"$win" 2>"$win.err" </dev/null || status=$?
  if [ $host_status -ne 0 ]; then
    # A library that does not load (a registration naming a missing file)
    # must fail alike, with the same code; Wine has no message text for
    # most type library codes, so only the codes are compared.
    [ $status -ne 0 ] || fail "brannock-cli $* failed but loads under Wine: $(cat "$linux.err")"
    [ "$(grep -o 'Error code: 0x[0-9A-F]*' "$win.err")" = "$(grep -o 'Error code: 0x[0-9A-F]*' "$linux.err")" ] ||
      fail "brannock-cli $* fails with another code than under Wine: $(cat "$linux.err") / $(cat "$win.err")"
    failures=$((failures + 1))
    return 0
  fi
  if grep -q '^Unhandled exception: page fault' "$win" "$win.err"; then
    case "$name" in
      reg-{2A75196C-D9EB-4129-B803-931327F72D5C}-*)
        # Known difference: Wine's oleaut32 itself faults while describing
        # the ADODB library (msado15.dll); the reader renders it.
        known=$((known + 1))
        return 0
        ;;
    esac
    fail "brannock-cli.exe $* crashed under Wine"
  fi
  [ $status -eq 0 ] || fail "brannock-cli.exe $* failed under Wine: $(cat "$win.err")"
  libraries=$((libraries + 1))
  lines=$((lines + $(wc -l <"$linux")))
  if cmp -s "$win" "$linux"; then
    identical=$((identical + 1))
    return 0
  fi
  # Wine's departures from Windows that the reader does not copy, named and
  # checked one by one (see the script).
  "$root/scripts/render-known-differences.pl" "$win" "$linux" >"$win.adjusted" 2>"$win.classes"
  if cmp -s "$win.adjusted" "$linux"; then
    local class count
    while read -r class count; do
      known_lines[$class]=$((${known_lines[$class]} + count))
      [ "$count" -eq 0 ] || files_with[$class]=$((${files_with[$class]} + 1))
    done <"$win.classes"
    return 0
  fi
  cp "$win.adjusted" "$win"
  case "$name" in
    uianimation.dll)
      # Known difference: Wine's oleaut32 fails GetRefTypeInfo (E_FAIL) for
      # references to the duplicate UI_ANIMATION_KEYFRAME aliases of this
      # file, so its unit reads <UnknownCustomType> there; the reader
      # resolves them as Windows does. Nothing else may differ.
      if cmp -s <(sed 's/<UnknownCustomType>/UI_ANIMATION_KEYFRAME/g' "$win") "$linux"; then
        known=$((known + $(diff "$win" "$linux" | grep -c '^<' || true)))
        return 0
      fi
      ;;
  esac
  diff "$win" "$linux" | head -20 || true
  fail "the unit of $name differs between oleaut32 under Wine and the file reader"
}

# Files of system32 that hold a type library: the reader decides, and the
# count below makes sure it still finds them.
files=()
[[ $parts == *" system32 "* ]] && while IFS= read -r -d '' f; do
  "$host_cli" --render "$f" >/dev/null 2>&1 && files+=("$(basename "$f")")
done < <(find "$sys32" -maxdepth 1 -type f \( -iname '*.tlb' -o -iname '*.olb' -o -iname '*.dll' -o -iname '*.ocx' -o -iname '*.exe' \) -print0 | sort -z)
[[ $parts != *" system32 "* ]] || [ ${#files[@]} -ge 40 ] ||
  fail "only ${#files[@]} files of system32 hold a type library the reader loads"
for f in "${files[@]}"; do
  compare "$f" --render "C:\\windows\\system32\\$f"
done
file_count=$libraries

# Registered libraries: every version key below TypeLib of the prefix's
# machine registry, as Wine writes them to system.reg.
registered=0
while read -r guid version; do
  compare "reg-$guid-$version" --render-typelib "$guid" "$version"
  registered=$((registered + 1))
done < <([[ $parts == *" registered "* ]] && sed -n 's/^\[Software\\\\Classes\\\\Typelib\\\\\({[0-9A-Fa-f-]*}\)\\\\\([0-9a-fA-F]*\.[0-9a-fA-F]*\)\] .*/\1 \2/Ip' \
           "$WINEPREFIX/system.reg" | sort -u)
[[ $parts != *" registered "* ]] || [ "$registered" -ge 20 ] ||
  fail "only $registered registered libraries found in the prefix"

# The project's widl fixtures and the real-world libraries, from a folder
# outside system32 (C:\brannock-tlb), by their Windows paths on both sides.
own=$WINEPREFIX/drive_c/brannock-tlb
mkdir -p "$own"
outside=()
[[ $parts == *" outside "* ]] || fixture_tlbs=
if [ -n "$fixture_tlbs" ]; then
  for f in "$fixture_tlbs"/*.tlb; do
    [ "$(basename "$f")" = stdole2.tlb ] && continue
    cp "$f" "$own/" && outside+=("$(basename "$f")")
  done
fi
real=$root/../shared/fixtures/real/typelib
real_count=0
if [[ $parts != *" outside "* ]]; then
  :
elif [ -d "$real" ]; then
  for f in "$real"/*/*; do
    [ -f "$f" ] || continue
    cp "$f" "$own/" && outside+=("$(basename "$f")")
    real_count=$((real_count + 1))
  done
elif [ "${CI:-}" = true ]; then
  fail "../shared/fixtures/real/ is missing (it must be there under CI)"
else
  echo "wine-render-parity: ../shared/fixtures/real/ is missing: the real-world libraries are skipped"
fi
for f in "${outside[@]}"; do
  compare "outside-$f" --render "C:\\brannock-tlb\\$f"
  # Every further TYPELIB resource of the file, as FILE\N.
  while read -r number _; do
    [ "$number" = 1 ] || compare "outside-$f-$number" --render "C:\\brannock-tlb\\$f\\$number"
  done < <("$host_cli" --registry "$WINEPREFIX" --list-typelibs "C:\\brannock-tlb\\$f" 2>/dev/null || true)
done

echo "render parity: $file_count files, $registered registered libraries, ${#outside[@]} libraries outside" \
     "system32 ($real_count real), $lines lines compared; $identical units identical;" \
     "known differences: uianimation.dll lines and ADODB ($known)," \
     "[lcid] kept by Wine (${known_lines[lcid]} lines in ${files_with[lcid]} units)," \
     "bases in an unloadable library (${known_lines[unloadable-base]} lines in ${files_with[unloadable-base]} units)," \
     "SLTG array counts (${known_lines[sltg-array]} lines in ${files_with[sltg-array]} units)," \
     "SLTG record references (${known_lines[sltg-record-ref]} lines in ${files_with[sltg-record-ref]} units);" \
     "$failures registrations fail alike"
