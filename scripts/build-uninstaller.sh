#!/usr/bin/env bash
# Cross-builds the Windows uninstaller (uninstaller.exe) with mingw-w64.
# Usage: scripts/build-uninstaller.sh [--arch i686|x86_64] [build-dir]
#   i686 (default) is the delivered 32-bit program; its build dir defaults to build-uninstaller-win
#   (or $UNINSTALLER_BUILD_DIR). x86_64 builds the same sources for the Wine test on machines that cannot run
#   32-bit code; its build dir defaults to build-uninstaller-win64.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
arch=i686
if [ "${1:-}" = --arch ]; then
  arch=${2:?"--arch needs i686 or x86_64"}
  shift 2
fi
case "$arch" in
  i686) toolchain=toolchain-mingw32.cmake default_dir=build-uninstaller-win ;;
  x86_64) toolchain=toolchain-mingw64.cmake default_dir=build-uninstaller-win64 ;;
  *) echo "build-uninstaller: unknown architecture '$arch' (i686 or x86_64)" >&2; exit 2 ;;
esac
build_dir=${1:-${UNINSTALLER_BUILD_DIR:-$root/$default_dir}}

if ! command -v "$arch-w64-mingw32-g++" >/dev/null; then
  echo "build-uninstaller: $arch-w64-mingw32-g++ is missing; run scripts/install-deps.sh test" >&2
  exit 1
fi

cmake -S "$root/uninstaller" -B "$build_dir" -DCMAKE_TOOLCHAIN_FILE="$root/uninstaller/$toolchain" \
  -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
cmake --build "$build_dir" --target uninstaller -j "$(nproc)"
echo "build-uninstaller: $build_dir/uninstaller.exe"
