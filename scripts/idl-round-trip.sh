#!/usr/bin/env bash
# One library through IDL and back: its IDL (brannock-cli --language idl),
# what widl does not read taken out (scripts/idl-for-widl.pl), compiled by
# widl into a new library, whose Object Pascal unit is compared with the
# original's (scripts/idl-round-trip-differences.pl).
#   scripts/idl-round-trip.sh CLI UNIT WORK_DIR LIBRARY_DIRS [RENDER_ARGS...]
# CLI is brannock-cli with its options ("brannock-cli --registry PREFIX"),
# split at blanks; LIBRARY_DIRS, separated by ":", are where widl looks for
# the libraries the IDL imports (the library's own folder first), and where
# the new library finds them again, beside it. WORK_DIR/original.pas and
# WORK_DIR/library.idl are taken as they are when they are there (the Wine
# stage's render parity made them), else rendered with RENDER_ARGS
# ("--render FILE"). With IDL_ROUND_TRIP_CACHE set to a folder, the names
# of the imported libraries' types are kept there for the next library.
# Prints the outcome, as tests/data/wine/idl-round-trip.txt lists it:
#   identical UNIT
#   round-trip UNIT CLASS N              a line for each class that accounts
#                                        for part of the rest
#   not-round-tripped UNIT REASON        a library the IDL refers to that
#                                        cannot be read (by the reader or widl)
# and exits 0; exits 1 with the reason on standard error when widl fails
# otherwise or a difference is left that no class accounts for.
set -euo pipefail
read -r -a cli <<<"$1"
unit=$2 work=$3
IFS=: read -r -a dirs <<<"$4"
shift 4
scripts=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$work/new"
if [ ! -f "$work/original.pas" ]; then
  "${cli[@]}" "$@" >"$work/original.pas" 2>"$work/original.err" ||
    { echo "$unit: the library does not render: $(cat "$work/original.err")" >&2; exit 1; }
fi
if [ ! -f "$work/library.idl" ]; then
  "${cli[@]}" "$@" --language idl >"$work/library.idl" 2>"$work/idl.err" ||
    { echo "$unit: no IDL: $(cat "$work/idl.err")" >&2; exit 1; }
fi

# A type the reader cannot follow into another library reads as a comment
# naming the failure (the Object Pascal unit: <UnknownCustomType>).
unreadable=$(grep -o '/\* [^*]*(Error code: 0x[0-9A-F]*) \*/' "$work/library.idl" | sort -u | sed 's|^/\* ||; s| \*/$||' |
  paste -sd ';' -) || true
if [ -n "$unreadable" ]; then
  echo "not-round-tripped $unit a library it refers to cannot be loaded: $unreadable"
  exit 0
fi

"$scripts/idl-for-widl.pl" "$work/library.idl" "$work/widl.idl" "$work/adapted.log"
# widl reads 8-bit text; type libraries hold their texts as Windows-1252.
iconv -f UTF-8 -t CP1252 "$work/widl.idl" >"$work/widl-1252.idl" ||
  { echo "$unit: the IDL holds characters that Windows-1252 has not" >&2; exit 1; }
search=()
for d in "${dirs[@]}"; do search+=(-L "$d"); done
if ! widl -t "${search[@]}" -o "$work/new/rebuilt.tlb" "$work/widl-1252.idl" >"$work/widl.log" 2>&1; then
  # An imported library widl cannot read (it reads only the MSFT format).
  if grep -qiE 'importlib|typelib' "$work/widl.log" && ! grep -q 'syntax error' "$work/widl.log"; then
    echo "not-round-tripped $unit widl cannot read an imported library: $(grep -m1 -i error "$work/widl.log" | sed 's/^[^ ]*: //')"
    exit 0
  fi
  echo "$unit: widl fails: $(grep -m1 -i error "$work/widl.log")" >&2
  exit 1
fi
# The new library finds what it imports beside it, as the original does.
for name in $(sed -n 's/^ *importlib("\(.*\)");$/\1/p' "$work/widl.idl"); do
  for d in "${dirs[@]}"; do
    [ -e "$d/$name" ] || continue
    [ -e "$work/new/$name" ] || ln -s "$(realpath "$d/$name")" "$work/new/$name"
    break
  done
done
"${cli[@]}" --render "$work/new/rebuilt.tlb" >"$work/rebuilt.pas" 2>"$work/rebuilt.err" ||
  { echo "$unit: the rebuilt library does not render: $(cat "$work/rebuilt.err")" >&2; exit 1; }

# The names of the imported libraries' types, for the class imported-name.
: >"$work/imported-names"
for name in $(sed -n 's/^ *importlib("\(.*\)");$/\1/p' "$work/widl.idl"); do
  [ -e "$work/new/$name" ] || continue
  cached=${IDL_ROUND_TRIP_CACHE:+$IDL_ROUND_TRIP_CACHE/$(realpath "$work/new/$name" | tr '/' '_').names}
  if [ -z "$cached" ] || [ ! -f "$cached" ]; then
    "${cli[@]}" --render "$work/new/$name" 2>/dev/null | sed -n 's/^  \([^ ]*\) = .*/\1/p' >"$work/names.tmp" || true
    [ -z "$cached" ] || { cp "$work/names.tmp" "$cached.$$" && mv "$cached.$$" "$cached"; }
  else
    cp "$cached" "$work/names.tmp"
  fi
  cat "$work/names.tmp" >>"$work/imported-names"
done
if ! "$scripts/idl-round-trip-differences.pl" "$work/original.pas" "$work/rebuilt.pas" "$work/adapted.log" \
  --imported-names "$work/imported-names" >"$work/classes" 2>"$work/unexplained"; then
  echo "$unit: the library comes back from widl with differences no class accounts for:" >&2
  head -20 "$work/unexplained" >&2
  exit 1
fi
if [ -s "$work/classes" ]; then
  while read -r line; do printf 'round-trip %s %s\n' "$unit" "$line"; done <"$work/classes"
else
  echo "identical $unit"
fi
