#!/usr/bin/env bash
# A first run on a fresh machine: the prefix is made as run.sh makes it, in
# an empty home folder, and the batch export that follows at once lists the
# prefix's classes, not the demo registry's.
#   first_run_test.sh BRANNOCK_CLI FIRST_RUN_PREFIX_SCRIPT
set -euo pipefail
cli=$1
make_prefix=$2
if ! command -v wineboot >/dev/null; then
  echo "Wine is not installed"
  exit 77
fi
home=$(mktemp -d "${TMPDIR:-/tmp}/brannock-first-run.XXXXXX")
cleanup() {
  HOME=$home WINEPREFIX=$home/.wine wineserver -k >/dev/null 2>&1 || true
  rm -rf "$home"
}
trap cleanup EXIT
export HOME=$home
unset WINEPREFIX DISPLAY WAYLAND_DISPLAY
export LC_ALL=C.UTF-8 LANG=C.UTF-8

fail() { echo "FAIL: $*" >&2; exit 1; }

# Before the prefix: the demo registry, and --verbose says why.
mkdir "$home/demo"
"$cli" --verbose --out-dir "$home/demo" -SO 2>"$home/err"
grep -qx "brannock-cli: ~/.wine skipped: no such folder" "$home/err" || fail "no skip note: $(cat "$home/err")"
grep -qx "brannock-cli: reading Demo registry" "$home/err" || fail "no source line: $(cat "$home/err")"
demo=$(($(wc -l <"$home/demo/ObjClasses.csv") - 1))

"$make_prefix" >"$home/made.txt"
grep -q "Creating a Wine prefix" "$home/made.txt" || fail "the script did not create the prefix"
[ -f "$home/.wine/system.reg" ] || fail "no system.reg after the script"

mkdir "$home/out"
"$cli" --out-dir "$home/out" -SO 2>"$home/err"
[ ! -s "$home/err" ] || fail "without --verbose standard error must stay empty: $(cat "$home/err")"
classes=$(($(wc -l <"$home/out/ObjClasses.csv") - 1))
echo "demo registry: $demo classes; fresh prefix: $classes classes"
[ "$classes" -gt 300 ] || fail "only $classes classes listed from the fresh prefix"
"$cli" --verbose --out-dir "$home/out" -SO 2>"$home/err"
grep -qx "brannock-cli: reading Wine prefix ~/.wine" "$home/err" || fail "source line: $(cat "$home/err")"

# A second run finds the prefix complete and leaves it alone.
"$make_prefix" >"$home/again.txt"
[ ! -s "$home/again.txt" ] || fail "the script ran again: $(cat "$home/again.txt")"
echo "first run: passed"
