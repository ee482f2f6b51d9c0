#!/usr/bin/env bash
# Builds a library from Debian's own source package for a target that Debian does not build it for
# (SDL 1.2 and zlib for Windows and for the web). The source comes through a private deb-src list,
# so the system's apt set-up is untouched; dpkg-source applies Debian's patches. What is built is kept
# in the prefix: a second run for the same package and toolchain does nothing.
#
# Usage: scripts/debian-source.sh TOOLCHAIN PACKAGE PREFIX
#   TOOLCHAIN  mingw32 (i686-w64-mingw32), mingw64 (x86_64-w64-mingw32) or emscripten
#   PACKAGE    libsdl1.2 or zlib
#   PREFIX     where the headers and libraries go (include/, lib/)
set -euo pipefail

toolchain=${1:?toolchain}
package=${2:?package}
prefix=$(mkdir -p "${3:?prefix}" && cd "$3" && pwd)  # absolute: the recipes build elsewhere
root=$(cd "$(dirname "$0")/.." && pwd)
cache=${KORVEX_DEBIAN_SOURCES:-$root/build-deps}
stamp=$prefix/.built-$package-$toolchain
[ -e "$stamp" ] && exit 0

# --- Fetching: the source package of bookworm, unpacked once into $cache/src/<package>.
fetch() {
    local apt=$cache/apt
    mkdir -p "$apt/sources" "$apt/lists/partial" "$cache/download"
    # The same archive and keys as the system's own list, as sources.
    sed -e 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources > "$apt/sources/debian.sources"
    local options=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$apt/sources"
                   -o Dir::State::Lists="$apt/lists" -o Debug::NoLocking=1)
    [ "$(id -u)" -ne 0 ] || options+=(-o APT::Sandbox::User=root)  # root downloads into our own folder
    if ! ls "$apt/lists/"*Sources* >/dev/null 2>&1; then
        apt-get "${options[@]}" update -qq
    fi
    # A security update's files can be missing on a mirror that lists them: then the release's own.
    local release
    release=$(. /etc/os-release && echo "$VERSION_CODENAME")
    (cd "$cache/download" && { apt-get "${options[@]}" source --download-only -qq "$package" 2>/dev/null ||
        { echo "debian-source: $package: the update is not to be had, taking $release's own" >&2
          apt-get "${options[@]}" source --download-only -qq "$package/$release"; }; })
    local dsc
    dsc=$(ls "$cache/download/${package}_"*.dsc | tail -n 1)  # the archive holds one version
    rm -rf "$cache/src/$package"
    mkdir -p "$cache/src"
    dpkg-source --no-check -x "$dsc" "$cache/src/$package" >/dev/null
}
[ -d "$cache/src/$package" ] || fetch
source_dir=$cache/src/$package
mkdir -p "$prefix"

# --- Building: one recipe a toolchain and package.
case "$toolchain/$package" in
    mingw32/libsdl1.2 | mingw64/libsdl1.2)
        # SDL.dll for 32-bit Windows (mingw64: for 64-bit, which the Wine test runs where 32-bit code
        # cannot run). -static-libgcc inside CC, since libtool drops it from LDFLAGS and SDL.dll would
        # need libgcc's DLL; no stdout.txt and stderr.txt beside the program; the DLL alone, so that the
        # game cannot link SDL statically by mistake.
        host=i686-w64-mingw32
        [ "$toolchain" = mingw64 ] && host=x86_64-w64-mingw32
        work=$cache/build/$toolchain-$package
        rm -rf "$work"
        mkdir -p "$work"
        echo "debian-source: building $package for $toolchain (about a minute)"
        if ! (cd "$work" &&
            "$source_dir/configure" --host="$host" --prefix="$prefix" \
                CC="$host-gcc -static-libgcc" --disable-stdio-redirect --disable-static &&
            make -j2 && make install) >"$work.log" 2>&1; then
            tail -n 30 "$work.log" >&2
            echo "debian-source: building $package failed; the whole log is $work.log" >&2
            exit 1
        fi
        cp "$source_dir/COPYING" "$prefix/SDL-COPYING.txt"
        rm -rf "$work" "$work.log" ;;
    emscripten/zlib)
        # Debian's zlib as a static WebAssembly library; the browser build links it by path.
        (cd "$source_dir" && CFLAGS=-O2 emconfigure ./configure --static --prefix="$prefix" >/dev/null &&
            emmake make -j2 libz.a >/dev/null && emmake make install >/dev/null) ;;
    emscripten/libsdl1.2)
        # SDL's own minimal build (Makefile.minimal) with the Unix clock: the dummy video and audio
        # drivers, no threads, joystick or CD; the browser's part is the game's web target.
        # SDL_config.h is written here, since configure knows no WebAssembly host.
        build=$cache/build/$package-$toolchain
        rm -rf "$build"
        mkdir -p "$build/include" "$prefix/include/SDL" "$prefix/lib"
        have=$(printf '#define HAVE_%s 1\n' LIBC SYS_TYPES_H STDIO_H STDLIB_H STDARG_H STRING_H STRINGS_H \
            INTTYPES_H STDINT_H CTYPE_H MATH_H SIGNAL_H MALLOC CALLOC REALLOC FREE GETENV PUTENV UNSETENV \
            QSORT ABS MEMSET MEMCPY MEMMOVE MEMCMP STRLEN STRDUP STRCHR STRRCHR STRSTR STRTOL STRTOUL \
            STRTOLL STRTOULL STRTOD ATOI ATOF STRCMP STRNCMP STRCASECMP STRNCASECMP SSCANF SNPRINTF \
            VSNPRINTF NANOSLEEP CLOCK_GETTIME)
        cat > "$build/include/SDL_config.h" <<CONFIG
#ifndef _SDL_config_h
#define _SDL_config_h
#include "SDL_platform.h"
#define SDL_HAS_64BIT_TYPE 1
$have
#define SDL_AUDIO_DRIVER_DUMMY 1
#define SDL_CDROM_DISABLED 1
#define SDL_JOYSTICK_DISABLED 1
#define SDL_LOADSO_DISABLED 1
#define SDL_THREADS_DISABLED 1
#define SDL_TIMER_UNIX 1
#define SDL_VIDEO_DRIVER_DUMMY 1
#endif
CONFIG
        sources=$(cd "$source_dir" && sed -n '/^SOURCES = /,/^$/p' Makefile.minimal | tr -d '\\' | tail -n +2 |
            sed 's/timer\/dummy/timer\/unix/')
        (cd "$source_dir" && for pattern in $sources; do for file in $pattern; do
            echo "emcc -O2 -w -I$build/include -Iinclude -c $file -o $build/$(echo "$file" | tr / _).o"
        done; done) | (cd "$source_dir" && xargs -P 2 -I{} sh -c '{}')
        rm -f "$prefix/lib/libSDL.a"
        emar rcs "$prefix/lib/libSDL.a" "$build"/*.o
        cp "$source_dir"/include/*.h "$prefix/include/SDL/"
        cp "$build/include/SDL_config.h" "$prefix/include/SDL/" ;;
    *)
        echo "debian-source: no recipe for $package with $toolchain" >&2
        exit 2 ;;
esac
touch "$stamp"
