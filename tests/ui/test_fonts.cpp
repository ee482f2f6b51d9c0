#include "test_fonts.h"

#include <numeric>

#include "resources/images.h"

namespace test_fonts {

using testing_support::makeSurface;

namespace {
void fill(SDL_Surface* s, int x, int y, int w, int h, Rgb c) {
    SDL_Rect r = {static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w),
                  static_cast<Uint16>(h)};
    SDL_FillRect(s, &r, SDL_MapRGB(s->format, c.r, c.g, c.b));
}
}  // namespace

Rgb inkOf(int index, int variant) {
    return {8 + 8 * (index % 30), 4 * (1 + index / 30) + 64 * variant, 200};
}

SDL_Surface* buildFont(const std::vector<int>& widths, int height, int variant) {
    const int total = 1 + std::accumulate(widths.begin(), widths.end(), 0) + static_cast<int>(widths.size());
    SDL_Surface* font = makeSurface(total, height, kTransparent);
    fill(font, 0, 0, 1, 1, kMarker);
    int x = 1;
    for (std::size_t k = 0; k < widths.size(); ++k) {
        fill(font, x, 1, widths[k], height - 1, inkOf(static_cast<int>(k), variant));
        x += widths[k];
        fill(font, x, 0, 1, 1, kMarker);
        ++x;
    }
    SDL_SetColorKey(font, SDL_SRCCOLORKEY,
                    SDL_MapRGB(font->format, kTransparent.r, kTransparent.g, kTransparent.b));
    return font;
}

SDL_Surface* buildUniformFont(int width, int height, int variant) {
    return buildFont(std::vector<int>('~' - '!' + 1, width), height, variant);
}

bool hasColour(SDL_Surface* s, int x, int y, Rgb c) {
    return readPixel(s, x, y) == SDL_MapRGB(s->format, c.r, c.g, c.b);
}

void clearScreen(SDL_Surface* screen) {
    fill(screen, 0, 0, screen->w, screen->h, kPaper);
}

int firstInkColumn(SDL_Surface* screen, int y, int from, int to) {
    for (int x = from; x < to; ++x) {
        if (!hasColour(screen, x, y, kPaper)) return x;
    }
    return -1;
}

}  // namespace test_fonts
