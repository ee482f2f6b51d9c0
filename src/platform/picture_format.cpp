// Pictures made for the surface the game draws on, whichever window shows it.
#include "platform/pixel_rows.h"
#include "platform/platform_detail.h"

namespace platform {

SDL_Surface* convertPicture(SDL_Surface* picture, bool alpha) {
    SDL_Surface* game = detail::openGameSurface();
    const bool scaling = game && game != SDL_GetVideoSurface();
    const SDL_Surface* target = scaling ? game : SDL_GetVideoSurface();
    if (!alpha && target) {
        if (SDL_Surface* copy = detail::copyInFormat(picture, target->format)) return copy;
    }
    // The window is the game's surface (or none is open): SDL's own conversion is the one meant.
    if (!scaling) return alpha ? SDL_DisplayFormatAlpha(picture) : SDL_DisplayFormat(picture);
    if (!alpha) {
        const Uint32 keep = picture->flags & (SDL_SRCCOLORKEY | SDL_SRCALPHA | SDL_RLEACCELOK);
        return SDL_ConvertSurface(picture, game->format, SDL_SWSURFACE | keep);
    }
    // For a 565 display SDL_DisplayFormatAlpha picks 32-bit ARGB.
    SDL_Surface* argb =
        SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
    if (!argb) return nullptr;
    SDL_Surface* converted =
        SDL_ConvertSurface(picture, argb->format, picture->flags & (SDL_SRCALPHA | SDL_RLEACCELOK));
    SDL_FreeSurface(argb);
    return converted;
}

}  // namespace platform
