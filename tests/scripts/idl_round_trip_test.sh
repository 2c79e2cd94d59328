#!/usr/bin/env bash
# The widl fixtures through IDL and back (scripts/idl-round-trip.sh), as the
# Wine stage takes them (without stdole2.tlb, which is Wine's): each comes
# back identical but for what LIST (tests/data/wine/idl-round-trip.txt)
# names for it, no more and no less; the one whose imported library lies
# elsewhere is not round-tripped. A renamed function in the rebuilt unit is
# a difference that no class accounts for.
#   idl_round_trip_test.sh SCRIPTS_DIR CLI TLB_DIR WINE_PE_DIR LIST
set -euo pipefail
scripts=$1 cli=$2 tlbs=$3 pe=$4 list=$5
fail() { echo "idl_round_trip_test: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for f in "$tlbs"/*.tlb; do
  name=$(basename "$f")
  [ "$name" != stdole2.tlb ] || continue
  "$scripts/idl-round-trip.sh" "$cli" "fixture/$name" "$work/$name" "$tlbs:$pe" --render "$f" >>"$work/outcomes" ||
    fail "$name: the round trip failed"
done
grep -v '^identical ' "$work/outcomes" | sort >"$work/observed" || true
grep ' fixture/' "$list" | sort >"$work/expected" || true
diff "$work/expected" "$work/observed" || fail "the fixtures' round trip changed (<: listed in $list, >: met)"
grep -q '^identical fixture/dispatch_forms.tlb$' "$work/outcomes" || fail "dispatch_forms.tlb is not identical"
grep -q '^not-round-tripped fixture/import_missing.tlb ' "$work/outcomes" || fail "import_missing.tlb was round-tripped"

# A difference that no class accounts for.
sed 's/procedure Draw; dispid 4;/procedure Drew; dispid 4;/' "$work/shapes.tlb/rebuilt.pas" >"$work/planted.pas"
! cmp -s "$work/planted.pas" "$work/shapes.tlb/rebuilt.pas" || fail "the planted difference was not planted"
if "$scripts/idl-round-trip-differences.pl" "$work/shapes.tlb/original.pas" "$work/planted.pas" \
  "$work/shapes.tlb/adapted.log" >/dev/null 2>&1; then
  fail "a renamed function passed the comparison"
fi
echo "idl round trip: $(wc -l <"$work/outcomes") fixtures, $(grep -c '^identical ' "$work/outcomes") identical, the rest as listed"
