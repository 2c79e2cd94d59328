#!/usr/bin/env bash
# Find and References of both builds against a real Wine prefix: the
# Windows brannock-cli (the live registry through advapi32, the libraries
# through oleaut32) and the Linux one (the prefix's files, the file reader)
# must print the same --references for every interface of the fixtures and
# of the shapes library registered here (tests/data/references/), and for
# the sample of Wine's own interfaces in tests/data/references/
# prefix-interfaces.txt, and the same --find for the texts of
# tests/data/references/find-texts.txt, with the same exit status. Lines
# that one build prints and the other does not are the known differences of
# tests/data/references/known-differences.txt, exactly (scripts/common.sh,
# check_listed).
# Run by scripts/wine-stage.sh in its prefix (--in, see
# scripts/wine-opening.sh), after the stages that read that prefix as made;
# runs on its own as well, in a throwaway prefix.
#   scripts/wine-references-stage.sh [--in DIR]
#   BRANNOCK_WIN_BUILD   the cross build folder (default build/win)
#   BRANNOCK_HOST_BUILD  the host build (default build/test when it exists,
#                        else build/wine-host)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-opening.sh wine-references-stage "$@"
data=tests/data/references

step "cross build: brannock-cli.exe ($win_build)"
configure_win_build
cmake --build "$win_build" -j2 --target brannock-cli
win_cli=$win_build/src/app/brannock-cli.exe

step "host build: brannock-cli"
build_host brannock-cli
host_cli=$host_build/src/app/brannock-cli

if [ $in_stage_prefix -eq 0 ]; then
  step "Wine prefix with the fixtures"
  make_fixture_prefix
fi
step "the shapes library registered as its installer would"
mkdir -p "$WINEPREFIX/drive_c/brannock-references"
widl_tlb "$WINEPREFIX/drive_c/brannock-references/shapes.tlb" tests/data/idl/shapes.idl
wine reg import "$(winpath "$data/shapes-registration.reg")" >/dev/null 2>&1 || fail "wine reg import of the shapes failed"
wineserver -w

refs=$work/references
rm -rf "$refs"
mkdir -p "$refs"
# What one build and the other print for OPTION TEXT, as $refs/N.linux and
# $refs/N.windows; the exit statuses must agree. Lines that only one build
# prints are collected as "references|find TEXT <|> LINE" (< Windows, >
# Linux) in $refs/observed.
asked=0
ask() {
  local option=$1 text=$2 n=$((asked += 1)) linux_status=0 windows_status=0
  SystemRoot='C:\windows' "$host_cli" --registry "$WINEPREFIX" "$option" "$text" >"$refs/$n.linux" \
    2>"$refs/$n.linux.err" || linux_status=$?
  wine "$win_cli" "$option" "$text" >"$refs/$n.crlf" 2>"$refs/$n.windows.err" || windows_status=$?
  tr -d '\r' <"$refs/$n.crlf" >"$refs/$n.windows"
  [ "$linux_status" -eq "$windows_status" ] ||
    fail "$option $text: exit status $windows_status under Wine, $linux_status on Linux:"$'\n'"$(head -5 "$refs/$n.windows.err" "$refs/$n.linux.err")"
  [ "$linux_status" -le 0 ] || [ "$linux_status" -eq 3 ] ||
    fail "$option $text failed ($linux_status):"$'\n'"$(head -5 "$refs/$n.linux.err")"
  diff "$refs/$n.windows" "$refs/$n.linux" | sed -n "s/^\([<>]\) /${option#--} $text \1 /p" >>"$refs/observed" || true
  cat "$refs/$n.linux" >>"$refs/all.linux"
}
: >"$refs/observed"
: >"$refs/all.linux"

step "--references of every interface of the fixtures and of the sample of Wine's"
start=$SECONDS
# The fixtures' interfaces: those of tests/data/wine/*.reg and the shapes'.
for iid in $(grep -aoh 'Interface\\{[0-9A-Fa-f-]*}' <(iconv -f UTF-16 -t UTF-8 tests/data/wine/*.reg) \
  "$data/shapes-registration.reg" | sed 's/^Interface\\//' | sort -u); do
  ask --references "$iid"
done
while read -r iid _; do
  case "$iid" in '#'* | '') continue ;; esac
  ask --references "$iid"
done <"$data/prefix-interfaces.txt"
# Each relation is met at least once, and the coclass of the fixture both
# ways.
for relation in ProxyStubClsid32 TypeLib 'inherits from' 'inherited by' 'implemented by' 'implemented by [default]' \
  'implemented by [default, source]' 'declared in'; do
  grep -qF ";$relation;" "$refs/all.linux" || fail "no --references line of the relation '$relation'"
done
ask --references 'Shape Object'
grep -qxF 'CLSID;Shape Object;{6A1B2C3D-000A-4A5B-8C9D-0123456789AB};implements [default];Interface;IShape;{6A1B2C3D-0007-4A5B-8C9D-0123456789AB}' \
  "$refs/$asked.windows" || fail "the Windows build's references of the shape class lack IShape"
echo "$asked --references compared in $((SECONDS - start)) s"

step "--find of a text of each field"
while IFS= read -r text; do
  case "$text" in '#'* | '') continue ;; esac
  ask --find "$text"
done <"$data/find-texts.txt"

step "known differences ($data/known-differences.txt)"
check_listed "$data/known-differences.txt" "$refs/observed"
rm -rf "$refs"
echo "Wine references stage passed."
