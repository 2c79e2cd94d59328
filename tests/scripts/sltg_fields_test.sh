#!/usr/bin/env bash
# scripts/sltg-fields.pl, which the Wine stage trusts for the bounds and
# referenced types of SLTG fields, the bases and the locale apart from the
# reader: the locale and fields of the synthetic library of the fuzz seeds;
# a file cut short fails instead of printing less; with REAL
# (../shared/fixtures/real/typelib) the fields of real files as their types
# are declared (WIN32_FIND_DATA's names of 255 and 14 bytes after three
# FILETIMEs, GUID's Data4 of 8 bytes), IShellLinkA's base from stdole32 and
# the coclass's interface of its own library, VBA's locale.
#   sltg_fields_test.sh SCRIPT SYNTHETIC [REAL]
set -euo pipefail
script=$1 synthetic=$2 real=${3:-}
fail() { echo "sltg_fields_test: $*" >&2; exit 1; }
[ "$("$script" "$synthetic")" = $'<library> lcid 1033\nPoint x other\nPoint y other' ] || fail "$synthetic: $("$script" "$synthetic")"
cut=$(mktemp)
trap 'rm -f "$cut"' EXIT
head -c 300 "$synthetic" >"$cut"
if "$script" "$cut" >/dev/null 2>&1; then fail "a library cut short is walked"; fi
[ -n "$real" ] || exit 0
[ -d "$real" ] || { echo "../shared/fixtures/real is missing"; exit 77; }
fields=$("$script" "$real/standalone/vb6wurzel_SHELLLNK.TLB")
for line in 'WIN32_FIND_DATA ftCreationTime ref FILETIME' 'WIN32_FIND_DATA ftLastWriteTime ref FILETIME' \
  'WIN32_FIND_DATA cFileName array 255' 'WIN32_FIND_DATA cAlternate array 14' 'FILETIME dwLowDateTime other' \
  'IShellLinkA <impl> ref imported' 'ShellLinkA <impl> ref IShellLinkA' '<library> lcid 1033'; do
  grep -qxF "$line" <<<"$fields" || fail "SHELLLNK.TLB lacks: $line"
done
for f in pe/win8-wow64_stdole32.tlb extracted/win8-wow64_stdole32.res1.sltg.tlb; do
  grep -qxF 'GUID Data4 array 8' <("$script" "$real/$f") || fail "$f: no Data4 of 8 bytes"
done
[ "$("$script" "$real/pe/win8-wow64_VBAEN32.OLB" | head -1)" = '<library> lcid 9' ] || fail "VBAEN32.OLB: not LANG_ENGLISH"
echo "sltg-fields: the synthetic and the real libraries' fields as declared"
