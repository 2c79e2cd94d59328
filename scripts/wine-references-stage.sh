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
# Both builds' answer to the same question (the arguments after NAME and
# LABEL), as $refs/NAME.linux and $refs/NAME.windows, with the same exit
# status (0, or 3 for no match). Lines that only one build prints are
# collected as "LABEL < LINE" (the Windows build's) and "LABEL > LINE" (the
# Linux build's) in $refs/observed, the known differences' form.
ask() {
  local name=$1 label=$2 linux_status=0 windows_status=0 line
  shift 2
  SystemRoot='C:\windows' "$host_cli" --registry "$WINEPREFIX" "$@" >"$refs/$name.linux" 2>"$refs/$name.linux.err" ||
    linux_status=$?
  wine "$win_cli" "$@" >"$refs/$name.crlf" 2>"$refs/$name.windows.err" || windows_status=$?
  tr -d '\r' <"$refs/$name.crlf" >"$refs/$name.windows"
  [ "$linux_status" -eq "$windows_status" ] ||
    fail "$name: exit status $windows_status under Wine, $linux_status on Linux:"$'\n'"$(head -5 "$refs/$name.windows.err" "$refs/$name.linux.err")"
  [ "$linux_status" -eq 0 ] || [ "$linux_status" -eq 3 ] ||
    fail "$name failed ($linux_status):"$'\n'"$(head -5 "$refs/$name.linux.err")"
  diff "$refs/$name.windows" "$refs/$name.linux" | grep '^[<>] ' | while IFS= read -r line; do
    printf '%s %s\n' "$label" "$line"
  done >>"$refs/observed" || true
}
: >"$refs/observed"

step "--references of every interface of the fixtures and of the sample of Wine's"
start=$SECONDS
# The fixtures' interfaces (those of tests/data/wine/*.reg and the
# shapes'), the shape class, and the sample; one run each build, so that
# the libraries are read once.
texts=(--references 'Shape Object')
for iid in $(cat <(for reg in tests/data/wine/*.reg; do iconv -f UTF-16 -t UTF-8 "$reg"; done) \
  "$data/shapes-registration.reg" | grep -ao 'Interface\\{[0-9A-Fa-f-]*}' | sed 's/^Interface\\//' | sort -u); do
  texts+=(--references "$iid")
done
while read -r iid _; do
  case "$iid" in '#'* | '') continue ;; esac
  texts+=(--references "$iid")
done <"$data/prefix-interfaces.txt"
ask references references "${texts[@]}"
# Each relation of an interface is met, and the shape coclass both ways in
# both builds.
for relation in ProxyStubClsid32 ProxyStubClsid TypeLib 'inherits from' 'inherited by' 'implemented by' \
  'implemented by [default]' 'implemented by [source]' 'implemented by [default, source]' 'declared in'; do
  awk -F';' -v relation="$relation" '$1 == "Interface" && $4 == relation { found = 1 } END { exit !found }' \
    "$refs/references.linux" ||
    fail "no --references line of an interface with the relation '$relation'"
done
for build in linux windows; do
  grep -qxF 'CLSID;Shape Object;{6A1B2C3D-000A-4A5B-8C9D-0123456789AB};implements [default];Interface;IShape;{6A1B2C3D-0007-4A5B-8C9D-0123456789AB}' \
    "$refs/references.$build" || fail "the $build build's references of the shape class lack IShape"
  grep -qxF 'Interface;IShape;{6A1B2C3D-0007-4A5B-8C9D-0123456789AB};implemented by [default];CLSID;Shape Object;{6A1B2C3D-000A-4A5B-8C9D-0123456789AB}' \
    "$refs/references.$build" || fail "the $build build's references of IShape lack the shape class"
done
echo "$((${#texts[@]} / 2)) objects, $(wc -l <"$refs/references.linux") --references lines compared in $((SECONDS - start)) s"

step "--find of a text of each field"
n=0
while IFS= read -r text; do
  case "$text" in '#'* | '') continue ;; esac
  n=$((n + 1))
  ask "find-$n" "find $text" --find "$text"
done <"$data/find-texts.txt"
echo "$n texts, $(cat "$refs"/find-*.linux | wc -l) --find lines compared"

step "known differences ($data/known-differences.txt)"
check_listed "$data/known-differences.txt" "$refs/observed"
rm -rf "$refs"
echo "Wine references stage passed."
