// The image table: loaded once from the main pack, keyed once, never changed afterwards.
#include "resources/images.h"

#include <utility>

#include "resources/data_files.h"
#include "resources/pack_reader.h"
#include "shell/shell.h"

SDL_Surface* images[kImageCount] = {};

namespace {

struct ColourKey {
    ImageSlot slot;
    Uint8 red, green, blue;
};

// In the order the keys are set; font_white.bmp follows, keyed by its own pixel at (0, 5).
const ColourKey kColourKeys[] = {
    {kExplosion, 0, 0, 0}, {kGameOver, 0, 0, 0},   {kEnemy11, 0, 0, 0},        {kEnemy21, 0, 0, 0},
    {kEnemy31, 0, 0, 0},   {kPlayer1, 0, 0, 0},    {kStart, 0, 0, 0},          {kGiftLauncher1, 0, 0, 0},
    {kButRadio, 0, 0, 0},  {kFont, 156, 156, 156}, {kFontBold, 128, 128, 128},
};

// The main pack's list owns the surfaces for the whole run.
ImageList mainPack;

}  // namespace

bool loadImages(std::string* error) {
    // Read aside first: a load that fails leaves the table, and the surfaces it points at, as they were.
    ImageList loaded;
    if (!readPack(packReader(), loaded, kMainPackName, kMainPackCapacity, error)) return false;
    if (loaded.count < kImageCount) {
        *error = "Cannot load " + dataFile(std::string(kMainPackName) + ".pak") + ": it holds " +
                 std::to_string(loaded.count) + " images, the game needs " + std::to_string(kImageCount) +
                 ".";
        return false;
    }
    std::swap(mainPack.count, loaded.count);
    std::swap(mainPack.records, loaded.records);  // `loaded` frees the old images as it goes
    for (int slot = 0; slot < kImageCount; ++slot) images[slot] = getImage(mainPack, slot);
    for (const ColourKey& key : kColourKeys) {
        SDL_Surface* s = images[key.slot];
        SDL_SetColorKey(s, SDL_SRCCOLORKEY, SDL_MapRGB(s->format, key.red, key.green, key.blue));
    }
    SDL_SetColorKey(images[kFontWhite], SDL_SRCCOLORKEY, readPixel(images[kFontWhite], 0, 5));
    return true;
}

SDL_Surface* getImage(const ImageList& list, int index) {
    return list.records[index]->surface;
}

void blitImage(SDL_Surface* surface, int x, int y) {
    SDL_Rect to = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    SDL_UpperBlit(surface, nullptr, screen, &to);
}

void blitImagePart(SDL_Surface* surface, int x, int y, int w, int h, int srcX, int srcY) {
    SDL_Rect from = {static_cast<Sint16>(srcX), static_cast<Sint16>(srcY), static_cast<Uint16>(w),
                     static_cast<Uint16>(h)};
    SDL_Rect to = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    SDL_UpperBlit(surface, &from, screen, &to);
}

std::uint32_t readPixel(SDL_Surface* surface, int x, int y) {
    if (!surface || static_cast<unsigned>(x) >= static_cast<unsigned>(surface->w) ||
        static_cast<unsigned>(y) >= static_cast<unsigned>(surface->h)) {
        return 0xFFFFFFFFu;
    }
    const int bytes = surface->format->BytesPerPixel;
    const auto* p = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * bytes;
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | p[i];
    return value;
}
