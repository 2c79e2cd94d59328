#!/usr/bin/env bash
# Makes the packages: the Debian package from the release build
# (build/release) and the Windows zip from the cross build (build/win).
#   ./package.sh [DIR]     writes into DIR (default: ./packages)
#     brannock_VERSION_amd64.deb, brannock-VERSION-win64.zip
# Only the targets the packages hold are built, with ccache when installed.
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)
out=$(realpath -m "${1:-packages}")
scripts/install-deps.sh build gui wine package

# ccache for a build folder made here; one that exists keeps its own
# settings (another launcher would recompile all of it).
launcher() { [ ! -f "$1/CMakeCache.txt" ] && command -v ccache >/dev/null && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache; true; }
cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -DBRANNOCK_BENCH=OFF -DBRANNOCK_GUI=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON $(launcher build/win) >/dev/null
win_targets=(brannock-cli brannock-instance)
# The Windows window program goes into the zip once the cross build has it.
grep -q '^brannock: ' <<<"$(cmake --build build/win --target help)" && win_targets+=(brannock)
cmake --build build/win -j2 --target "${win_targets[@]}"
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRANNOCK_TESTS=OFF -DBRANNOCK_BENCH=OFF \
  -DBRANNOCK_CROSS_BUILD_DIR="$root/build/win" -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON $(launcher build/release) >/dev/null
cmake --build build/release -j2 --target brannock brannock-cli brannock-install-files

mkdir -p "$out"
(cd build/release && cpack -G DEB -B "$out" >/dev/null)
(cd build/win && cpack -G ZIP -B "$out" >/dev/null)
rm -rf "$out/_CPack_Packages"
ls -l "$out"/brannock*
