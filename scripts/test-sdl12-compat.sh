#!/usr/bin/env bash
# Runs the game's tests again on sdl12-compat (the SDL 1.2 built on SDL2) instead of the classic
# SDL 1.2, without installing it: the packages are unpacked into build/sdl12-compat and put first
# on the library path (the install and package tests, which check no SDL, are left out). Run after
# scripts/build.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib-sdl12-compat.sh
export LD_LIBRARY_PATH=$compat_path
echo "test-sdl12-compat: $(ldd build/korvex | grep -o 'libSDL-1.2.so.0 => [^ ]*')"
ctest --test-dir build --output-on-failure -j"$(nproc)" -E 'korvex_pak|korvex_assetgen|uninstaller|PakTool|Generated|Story|e2e_installed|e2e_package'
