#!/usr/bin/env bash
# The round trip through widl (scripts/idl-round-trip.sh) of every library
# whose IDL the render parity compared (scripts/wine-render-parity.sh): the
# files of system32, the registered libraries, the widl fixtures and the
# real-world libraries. A library's Object Pascal unit and IDL are the ones
# the parity made with the Linux build; widl looks for what the IDL imports
# in the library's folder, the prefix's system32 and Wine's own libraries.
# Registered libraries whose IDL is that of another library (the same file
# registered again) take that library's outcome. Every outcome but
# "identical" is held against tests/data/wine/idl-round-trip.txt, which
# must list exactly what the run meets.
#   scripts/wine-idl-round-trip.sh HOST_CLI WORK_DIR
# WORK_DIR is the one the render parity was given (its prefix, and its
# render-parity folder).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh wine-idl-round-trip
source scripts/wine-prefix.sh idl-round-trip "$2"
host_cli=$1 parity=$2/render-parity
list=tests/data/wine/idl-round-trip.txt
pe_dir=$(wine_pe_dir) || fail "Wine's stdole2.tlb is missing (wine64)"
sys32=$WINEPREFIX/drive_c/windows/system32
export IDL_ROUND_TRIP_CACHE=$work/cache
mkdir -p "$IDL_ROUND_TRIP_CACHE"

# One library: NAME, its parity base (the files' common start); the
# outcome goes to BASE.outcome, a failure to BASE.failed.
round_trip() {
  local name=$1 from=$2 file
  local dir=$work/${name//\//__}
  file=$(sed -n 2p "$from.round-trip")
  mkdir -p "$dir"
  ln -f "$from.linux" "$dir/original.pas"
  ln -f "$from.idl.linux" "$dir/library.idl"
  local dirs=$sys32:$pe_dir
  [ "$file" = - ] || dirs=$(dirname "$file"):$dirs
  scripts/idl-round-trip.sh "$host_cli --registry $WINEPREFIX" "$name" "$dir" "$dirs" >"$dir.outcome" 2>"$dir.failed" &&
    rm "$dir.failed"
}

# Each distinct IDL once (but for its first line, the file's name).
declare -A first_of
twins=()
running=0
for f in "$parity"/*.round-trip; do
  from=${f%.round-trip}
  name=$(sed -n 1p "$f")
  key=$(tail -n +2 "$from.idl.linux" | sha1sum | cut -c1-40)
  if [ -n "${first_of[$key]:-}" ]; then
    twins+=("$name	${first_of[$key]}")
    continue
  fi
  first_of[$key]=$name
  round_trip "$name" "$from" &
  running=$((running + 1))
  if [ $running -ge 2 ]; then
    wait -n || true
    running=$((running - 1))
  fi
done
wait
if ls "$work"/*.failed >/dev/null 2>&1; then
  cat "$work"/*.failed >&2
  fail "$(ls "$work"/*.failed | wc -l) libraries do not come back from widl as their IDL says"
fi
# The twins' outcomes: their first's, under their own names.
for twin in "${twins[@]}"; do
  name=${twin%%	*} first=${twin#*	}
  name=$name awk '{ $2 = ENVIRON["name"]; print }' "$work/${first//\//__}.outcome" \
    >"$work/${name//\//__}.outcome"
done

cat "$work"/*.outcome | sort >"$work/outcomes"
grep -v '^identical ' "$work/outcomes" >"$work/observed" || true
check_listed "$list" "$work/observed"
# A library with several listed parts has a line for each.
awk -v distinct=${#first_of[@]} -v list="$list" '!seen[$1 " " $2]++ { n[$1]++; units++ } END {
  printf "IDL round trip through widl: %d libraries (%d distinct IDL files): %d identical, %d identical but for the parts %s lists, %d not round-tripped\n",
    units, distinct, n["identical"], n["round-trip"], list, n["not-round-tripped"] }' "$work/outcomes"
