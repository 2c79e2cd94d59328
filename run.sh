#!/usr/bin/env bash
# Builds and runs Brannock on the default registry source.
# Arguments are passed to the program (for example --registry PATH, -SO).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh build gui
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRANNOCK_TESTS=OFF -DBRANNOCK_BENCH=OFF >/dev/null
cmake --build build/release -j2
exec build/release/src/app/brannock-cli "$@"
