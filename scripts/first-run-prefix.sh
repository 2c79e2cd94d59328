#!/usr/bin/env bash
# The Wine prefix of a first run: when Wine is installed, $WINEPREFIX is not
# set and ~/.wine holds no registry yet, creates ~/.wine with `wineboot -i`
# and waits until it is complete. run.sh uses this, and so does the test of
# a first run (tests/app/cli/first_run_test.sh).
#
# `wineboot` returns before the Wine server has written system.reg and
# user.reg; the server writes them when it ends, a few seconds after the
# last Wine program. `wineserver -w` waits for that.
set -euo pipefail
[ "$(uname -s)" = Linux ] || exit 0
[ -z "${WINEPREFIX:-}" ] || exit 0
command -v wineboot >/dev/null && command -v wineserver >/dev/null || exit 0
prefix=$HOME/.wine
[ ! -f "$prefix/system.reg" ] || exit 0

echo "Creating a Wine prefix in ~/.wine (wineboot -i)..."
WINEDEBUG=-all wineboot -i
WINEDEBUG=-all wineserver -w
if [ ! -f "$prefix/system.reg" ]; then
  echo "error: Wine did not write $prefix/system.reg" >&2
  exit 1
fi
