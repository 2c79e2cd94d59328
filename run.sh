#!/usr/bin/env bash
# Builds and runs Brannock on the default registry source.
# Arguments are passed to the program (for example --registry PATH, -SO).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh build gui
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRANNOCK_TESTS=OFF -DBRANNOCK_BENCH=OFF >/dev/null
cmake --build build/release -j2 --target brannock
program=build/release/src/ui/qt/brannock
# On Linux a first run shows a real registry: create a Wine prefix when Wine
# is installed and there is none yet.
if [ "$(uname -s)" = Linux ] && [ -z "${WINEPREFIX:-}" ] && [ ! -e "$HOME/.wine" ] && command -v wineboot >/dev/null; then
  echo "Creating a Wine prefix in ~/.wine (wineboot -i)..."
  WINEDEBUG=-all wineboot -i
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  out=brannock-export
  echo "No display (\$DISPLAY and \$WAYLAND_DISPLAY are empty): writing the four list files to ./$out/ instead."
  "$program" -SA -SI -SO -ST "$@"
  mkdir -p "$out"
  for f in AppIds.csv Intfs.csv ObjClasses.csv TypeLibs.csv; do mv -f "$(dirname "$program")/$f" "$out/"; done
  ls -l "$out"
  echo "To see the window without a display: xvfb-run -a $program $*"
  exit 0
fi
exec "$program" "$@"
