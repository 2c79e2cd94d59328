#!/usr/bin/env bash
# scripts/purge-leftovers.sh on a tree laid out as a purge may leave it,
# with the machine's own dpkg database as the owner of folders: a folder
# that only the package made is reported when it is left (empty), a folder
# that an installed package owns is not, and neither is one holding
# another package's files; a file that is left is always reported.
#   purge_leftovers_test.sh SCRIPT
set -euo pipefail
script=$1
command -v dpkg >/dev/null || { echo "no dpkg on this machine"; exit 77; }
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
fail() { echo "purge_leftovers_test: $*" >&2; exit 1; }

# /usr/bin and /usr/share/doc belong to installed packages on any Debian
# machine; /usr/lib/brannock-purge-test belongs to none.
dpkg -S /usr/bin >/dev/null 2>&1 || fail "dpkg -S does not know /usr/bin"
dpkg -S /usr/lib/brannock-purge-test >/dev/null 2>&1 && fail "a package owns /usr/lib/brannock-purge-test"

contents=$tree/contents
printf '%s\n' /usr/ /usr/bin/ /usr/bin/brannock-purge-test /usr/lib/ /usr/lib/brannock-purge-test/ \
  /usr/lib/brannock-purge-test/helper.exe /usr/share/ /usr/share/doc/ /usr/share/doc/brannock-purge-test/ \
  /usr/share/doc/brannock-purge-test/README >"$contents"

# Everything removed, the shared folders empty in this tree: nothing is left.
mkdir -p "$tree/root/usr/bin" "$tree/root/usr/lib" "$tree/root/usr/share/doc"
"$script" "$contents" "$tree/root" >"$tree/out" || fail "a clean purge is reported: $(cat "$tree/out")"
[ ! -s "$tree/out" ] || fail "a clean purge printed: $(cat "$tree/out")"

# The package's own folder left empty, and a file left: both reported, and
# the owned empty folders still not.
mkdir -p "$tree/root/usr/lib/brannock-purge-test"
mkdir -p "$tree/root/usr/share/doc/brannock-purge-test"
touch "$tree/root/usr/share/doc/brannock-purge-test/README"
status=0
"$script" "$contents" "$tree/root" >"$tree/out" || status=$?
[ $status -eq 1 ] || fail "exit status $status with leftovers"
expected='/usr/lib/brannock-purge-test/ is left empty
/usr/share/doc/brannock-purge-test/README is left'
[ "$(cat "$tree/out")" = "$expected" ] || fail "reported: $(cat "$tree/out")"

# A folder of the package that holds a file of someone else's is not the
# package's to remove; the package's file itself gone, nothing is left.
rm -r "$tree/root/usr/share/doc/brannock-purge-test"
touch "$tree/root/usr/lib/brannock-purge-test/other-package-file"
"$script" "$contents" "$tree/root" >"$tree/out" || fail "a folder holding other files is reported: $(cat "$tree/out")"
echo "purge-leftovers: reports the package's own empty folder and files, not the folders packages own"
