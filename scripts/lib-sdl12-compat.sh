# Sourced by scripts/test-sdl12-compat.sh and bench/measure_sdl12_compat.sh: unpacks sdl12-compat (the
# SDL 1.2 built on SDL 2) and what it needs into build/sdl12-compat, without installing it, and sets
# compat_path to the library path that puts it first.
compat_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/sdl12-compat
compat_packages=(libsdl1.2-compat libsdl2-2.0-0 libsamplerate0 libwayland-egl1 libwayland-cursor0 libdecor-0-0)
if [ ! -e "$compat_root/usr/lib/x86_64-linux-gnu/sdl12-compat/libSDL-1.2.so.0" ]; then
    mkdir -p "$compat_root/debs"
    (cd "$compat_root/debs" && { apt-get download "${compat_packages[@]}" 2>/dev/null ||
        { apt-get update -qq && apt-get download "${compat_packages[@]}"; }; })
    for deb in "$compat_root"/debs/*.deb; do dpkg-deb -x "$deb" "$compat_root"; done
fi
compat_path=$compat_root/usr/lib/x86_64-linux-gnu/sdl12-compat:$compat_root/usr/lib/x86_64-linux-gnu
