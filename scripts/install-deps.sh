#!/usr/bin/env bash
# Installs the Debian packages a stage needs, only when some are missing.
# Usage: scripts/install-deps.sh GROUP...   (groups: build gui test wine package)
set -euo pipefail

pkgs=()
for group in "$@"; do
  case "$group" in
    build) pkgs+=(cmake ninja-build g++ pkg-config libhivex-dev) ;;
    gui)   pkgs+=(qt6-base-dev libqscintilla2-qt6-dev libgl-dev) ;;
    test)  pkgs+=(libgtest-dev googletest clang libclang-rt-14-dev xvfb xauth libwin-hivex-perl) ;;
    wine)  pkgs+=(wine wine64 wine64-tools libwine-dev g++-mingw-w64-x86-64-posix mingw-w64-tools) ;;
    package) pkgs+=(dpkg-dev lintian desktop-file-utils man-db) ;;
    *) echo "install-deps: unknown group $group" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
