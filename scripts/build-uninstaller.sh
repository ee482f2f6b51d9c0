#!/usr/bin/env bash
# Cross-builds the 32-bit Windows uninstaller (uninstaller.exe) with mingw-w64.
# Usage: scripts/build-uninstaller.sh [build-dir]   (default: build-uninstaller-win, or $UNINSTALLER_BUILD_DIR)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${1:-${UNINSTALLER_BUILD_DIR:-$root/build-uninstaller-win}}

if ! command -v i686-w64-mingw32-g++ >/dev/null; then
  echo "build-uninstaller: i686-w64-mingw32-g++ is missing; run scripts/install-deps.sh test" >&2
  exit 1
fi

cmake -S "$root/uninstaller" -B "$build_dir" \
  -DCMAKE_TOOLCHAIN_FILE="$root/uninstaller/toolchain-mingw32.cmake" -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
cmake --build "$build_dir" --target uninstaller -j "$(nproc)"
echo "build-uninstaller: $build_dir/uninstaller.exe"
