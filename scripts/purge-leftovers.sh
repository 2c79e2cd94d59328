#!/usr/bin/env bash
# What a purged package left behind. Reads the package's contents, one
# absolute path a line with folders ending in "/" (as `dpkg-deb -c` lists
# them), and prints each path that is left: a file that still exists, or a
# folder that is empty and that no installed package owns (`dpkg -S`).
# A folder that another package owns stays after the purge by right (the
# icon folders of hicolor-icon-theme), and one that holds other files is not
# the purged package's to remove.
#   scripts/purge-leftovers.sh CONTENTS [ROOT]
# ROOT (default none) goes before each path looked at on disk, never before
# the path dpkg is asked about: the check's test lays out a tree there.
# Exit status 1 when something is left, 0 when nothing is.
set -euo pipefail
contents=$1 root=${2:-}
left=0
while IFS= read -r path; do
  [ -n "$path" ] || continue
  case "$path" in
    */)
      dir=${path%/}
      [ -n "$dir" ] && [ -d "$root$dir" ] || continue
      [ -z "$(ls -A "$root$dir")" ] || continue
      dpkg -S "$dir" >/dev/null 2>&1 && continue
      echo "$path is left empty"
      ;;
    *)
      [ -e "$root$path" ] || [ -L "$root$path" ] || continue
      echo "$path is left"
      ;;
  esac
  left=1
done <"$contents"
exit $left
