#!/usr/bin/env bash
# Makes the packages: the Debian package from the release build
# (build/release) and the Windows zip from the cross build (build/win).
#   ./package.sh [DIR]     writes into DIR (default: ./packages)
#     brannock_VERSION_amd64.deb, brannock-VERSION-win64.zip
# Only the targets the packages hold are built, with ccache when installed.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh package.sh
out=$(realpath -m "${1:-packages}")
scripts/install-deps.sh build gui wine package

configure_win_build
cmake --build "$win_build" -j2 --target brannock-cli brannock-instance brannock
release_build

mkdir -p "$out"
(cd build/release && cpack -G DEB -B "$out" >/dev/null)
(cd "$win_build" && cpack -G ZIP -B "$out" >/dev/null)
rm -rf "$out/_CPack_Packages"
ls -l "$out"/brannock*
