#!/usr/bin/env bash
# brannock-cli --compare and --snapshot on each kind of file source, with
# tools nobody here wrote making the other side:
#   - a hive made by hivexregedit --merge (Debian's libwin-hivex-perl) from
#     an export of the fixtures (their snapshot, which holds every key with
#     its parents, as regedit exports them) compared with the fixtures and
#     with that export: no differences;
#   - the --snapshot of a .reg export, of that hive, of a Wine prefix's files
#     and of the demo registry, each compared with its source: no
#     differences, in both views;
#   - a difference is found and named, with exit status 3.
#   compare_sources_test.sh BRANNOCK_CLI EMPTY_HIVE_TOOL DATA_DIR
# Exit 77 (skipped) when hivexregedit is missing, unless CI=true.
set -euo pipefail
cli=$1 empty_hive=$2 data=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/brannock-compare-sources.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() {
  echo "compare_sources_test: $*" >&2
  exit 1
}
if ! command -v hivexregedit >/dev/null; then
  [ "${CI:-}" = true ] && fail "hivexregedit is missing (Debian package libwin-hivex-perl)"
  echo "hivexregedit is missing (Debian package libwin-hivex-perl): skipped"
  exit 77
fi

# No difference between NOW and BEFORE (the other arguments go first).
same() {
  local out status=0
  out=$("$cli" "$@") || status=$?
  [ "$status" -eq 0 ] || fail "brannock-cli $* exited with $status:"$'\n'"$out"
  [ "$out" = "0 added, 0 removed, 0 changed" ] || fail "brannock-cli $* printed:"$'\n'"$out"
}

fixtures=$data/wine/catalogue.reg
"$cli" --registry "$fixtures" --snapshot "$work/export.reg" || fail "--snapshot of $fixtures failed"

# hivexregedit reads text in the local encoding (UTF-8 here, which
# PERL_UNICODE=D tells Perl whatever the locale) and takes the keys below the
# prefix given into the hive's root, as "reg save HKLM\Software\Classes"
# lays them out.
iconv -f UTF-16LE -t UTF-8 "$work/export.reg" | sed -e '1s/^\xEF\xBB\xBF//' -e 's/\r$//' >"$work/export-utf8.reg"
"$empty_hive" "$work/classes.hiv"
PERL_UNICODE=D hivexregedit --merge --prefix 'HKEY_LOCAL_MACHINE\Software\Classes' "$work/classes.hiv" "$work/export-utf8.reg" ||
  fail "hivexregedit --merge failed"
for view in 64 32; do
  same --view "$view" --registry "$work/classes.hiv" --compare "$fixtures"
  same --view "$view" --registry "$work/export.reg" --compare "$work/classes.hiv"
done

# Each source against its own snapshot.
HOME=$work/no-home WINEPREFIX='' "$cli" --snapshot "$work/demo-snapshot.reg" || fail "--snapshot of the demo registry failed"
for source in "$fixtures" "$work/classes.hiv" "$data/registry/wine_prefix" "$work/demo-snapshot.reg"; do
  "$cli" --registry "$source" --snapshot "$work/snapshot.reg" || fail "--snapshot of $source failed"
  head -c 2 "$work/snapshot.reg" | cmp -s - <(printf '\xff\xfe') || fail "the snapshot of $source is not UTF-16LE"
  for view in 64 32; do
    same --view "$view" --registry "$work/snapshot.reg" --compare "$source"
  done
done

# A difference: one value of one class changed in a copy of the export.
iconv -f UTF-16LE -t UTF-8 "$fixtures" |
  sed 's/^"ThreadingModel"="Both"/"ThreadingModel"="Free"/' |
  iconv -f UTF-8 -t UTF-16LE >"$work/changed.reg"
status=0
out=$("$cli" --registry "$work/changed.reg" --compare "$work/classes.hiv") || status=$?
[ "$status" -eq 3 ] || fail "a difference gave exit status $status"
grep -qx -- '-      InprocServer32\[ThreadingModel\] = Both' <<<"$out" || fail "no removed line in:"$'\n'"$out"
grep -qx -- '+      InprocServer32\[ThreadingModel\] = Free' <<<"$out" || fail "no added line in:"$'\n'"$out"
grep -q '^changed {B4A22001-0000-4000-8000-000000000001} ' <<<"$out" || fail "the class is not named in:"$'\n'"$out"
echo "compare_sources_test: passed"
