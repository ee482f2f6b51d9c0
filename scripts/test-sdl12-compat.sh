#!/usr/bin/env bash
# Runs the game's tests again on sdl12-compat (the SDL 1.2 built on SDL2) instead of the classic
# SDL 1.2, without installing it: the packages are unpacked into build/sdl12-compat and put first
# on the library path (the install and package tests, which check no SDL, are left out). Run after
# scripts/build.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD/build/sdl12-compat
packages=(libsdl1.2-compat libsdl2-2.0-0 libsamplerate0 libwayland-egl1 libwayland-cursor0 libdecor-0-0)
if [ ! -e "$root/usr/lib/x86_64-linux-gnu/sdl12-compat/libSDL-1.2.so.0" ]; then
    mkdir -p "$root/debs"
    (cd "$root/debs" && { apt-get download "${packages[@]}" 2>/dev/null ||
        { apt-get update -qq && apt-get download "${packages[@]}"; }; })
    for deb in "$root"/debs/*.deb; do dpkg-deb -x "$deb" "$root"; done
fi
lib=$root/usr/lib/x86_64-linux-gnu
export LD_LIBRARY_PATH=$lib/sdl12-compat:$lib
echo "test-sdl12-compat: $(ldd build/korvex | grep -o 'libSDL-1.2.so.0 => [^ ]*')"
ctest --test-dir build --output-on-failure -j"$(nproc)" -E 'korvex_pak|korvex_assetgen|uninstaller|PakTool|Generated|Story|e2e_installed|e2e_package'
