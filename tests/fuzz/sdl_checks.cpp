// SDL is not built with the sanitizers, so an overrun inside it goes unseen. The fuzz targets are
// linked with --wrap for every SDL call that takes a pixel buffer from the game: the buffer is checked
// against the bytes SDL will read for that size, pitch and depth before SDL gets it.
#include <SDL.h>
#include <sanitizer/asan_interface.h>

#include <cstdio>
#include <cstdlib>

extern "C" {

SDL_Surface* __real_SDL_CreateRGBSurfaceFrom(void* pixels, int width, int height, int depth, int pitch,
                                             Uint32 rMask, Uint32 gMask, Uint32 bMask, Uint32 aMask);

SDL_Surface* __wrap_SDL_CreateRGBSurfaceFrom(void* pixels, int width, int height, int depth, int pitch,
                                             Uint32 rMask, Uint32 gMask, Uint32 bMask, Uint32 aMask) {
    if (pixels && width > 0 && height > 0) {
        const long rowBytes = static_cast<long>(width) * ((depth + 7) / 8);
        // Every row is read for its full width; the last one ends the buffer SDL needs.
        const long bytes = static_cast<long>(pitch) * (height - 1) + rowBytes;
        if (pitch < rowBytes || __asan_region_is_poisoned(pixels, static_cast<std::size_t>(bytes))) {
            std::fprintf(stderr,
                         "SDL_CreateRGBSurfaceFrom: %d x %d at %d bits, pitch %d, needs %ld bytes "
                         "that the buffer does not hold\n",
                         width, height, depth, pitch, bytes);
            std::abort();
        }
    }
    return __real_SDL_CreateRGBSurfaceFrom(pixels, width, height, depth, pitch, rMask, gMask, bMask, aMask);
}

}  // extern "C"
