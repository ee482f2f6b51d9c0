// The game's surface and its presentation. The desktop build opens a 240 x 320 window rather than
// switching the monitor's mode; scaling would be a change here alone.
#include "platform/platform.h"

namespace platform {

SDL_Surface* openScreen(int width, int height, int bitsPerPixel, const char* title, std::string* error) {
    SDL_Surface* surface = SDL_SetVideoMode(width, height, bitsPerPixel, SDL_SWSURFACE);
    if (!surface) {
        *error = SDL_GetError();
        return nullptr;
    }
    SDL_WM_SetCaption(title, nullptr);
    return surface;
}

void presentScreen(SDL_Surface* screen) {
    if (screen) SDL_UpdateRect(screen, 0, 0, 0, 0);
}

void presentRects(SDL_Surface* screen, int count, SDL_Rect* rects) {
    if (screen) SDL_UpdateRects(screen, count, rects);
}

WindowHandle findWindow(const char* title) {
    // The game has one window: the SDL one, if its caption is the title asked for.
    if (!SDL_GetVideoSurface()) return 0;
    char* caption = nullptr;
    SDL_WM_GetCaption(&caption, nullptr);
    if (!caption || std::string(caption) != title) return 0;
    return reinterpret_cast<WindowHandle>(SDL_GetVideoSurface());
}

}  // namespace platform
