#!/usr/bin/env bash
# Builds and runs Brannock on the default registry source.
# Arguments are passed to the program (for example --registry PATH, -SO).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh build gui
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRANNOCK_TESTS=OFF -DBRANNOCK_BENCH=OFF >/dev/null
cmake --build build/release -j2 --target brannock brannock-cli
program=build/release/src/app/brannock
cli=build/release/src/app/brannock-cli
# On Linux a first run shows a real registry: create a Wine prefix when Wine
# is installed and there is none yet, and wait until Wine has written it.
scripts/first-run-prefix.sh || echo "No Wine prefix: the program shows the demo registry."
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  out=brannock-export
  echo "No display (\$DISPLAY and \$WAYLAND_DISPLAY are empty): writing the four list files to ./$out/ instead."
  mkdir -p "$out"
  "$cli" --verbose --out-dir "$out" -SA -SI -SO -ST "$@"
  ls -l "$out"
  echo "To see the window without a display: xvfb-run -a $program $*"
  exit 0
fi
exec "$program" "$@"
