#!/usr/bin/env bash
# Pictures of the main window with a class selected: on the demo registry
# (docs/main-window-demo.png) and on a Wine prefix (docs/main-window-wine.png).
# Qt's offscreen platform renders the window; no display is needed.
# Usage: scripts/screenshot-main.sh [BUILD_DIR] [WINE_PREFIX]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-gui}
prefix=${2:-${WINEPREFIX:-$HOME/.wine}}

[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target brannock
program="$build/src/app/brannock"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p docs "$scratch/home"
export QT_QPA_PLATFORM=offscreen
# A fresh configuration folder: the window opens at its designed placement.
export XDG_CONFIG_HOME="$scratch/config"

# No prefix in sight: the demo registry.
env -u WINEPREFIX HOME="$scratch/home" "$program" --screenshot docs/main-window-demo.png \
  --select "Brannock Demo Calculator"
echo "wrote docs/main-window-demo.png"

if [ -f "$prefix/system.reg" ]; then
  "$program" --registry "$prefix" --screenshot docs/main-window-wine.png --select "Shell Automation Service"
  echo "wrote docs/main-window-wine.png (prefix $prefix)"
else
  echo "no Wine prefix at $prefix: create one with 'WINEDEBUG=-all wineboot -i' for the second picture" >&2
fi
