// A playing field for tests: small stand-in images of the real sizes, each a solid colour that tells
// on the screen which image (and which frame of a strip) was drawn, and helpers to arrange the field.
#pragma once

#include <SDL.h>

#include <vector>

#include "game/game_frame.h"
#include "game/gifts.h"
#include "resources/images.h"
#include "shell/shell.h"
#include "support/test_support.h"
#include "ui/font.h"

namespace test_world {

using testing_support::Rgb;

// Every colour is exact in the 16-bit screen format.
constexpr Rgb kBackground = {0, 0, 40};
constexpr Rgb kShotColour = {248, 248, 0};
constexpr Rgb kBombColour = {248, 128, 0};
constexpr Rgb kEnemyColour[3] = {{200, 0, 0}, {0, 200, 200}, {200, 0, 200}};  // Enemy11, 21, 31
constexpr Rgb kCarrierColour = {120, 120, 248};
constexpr Rgb kBrickColour = {160, 80, 0};
constexpr Rgb kStarColour = {248, 248, 248};
constexpr Rgb kExplosionColour = {248, 160, 0};
constexpr Rgb kBannerColour = {0, 248, 248};
constexpr Rgb kFontMarker = {248, 0, 248};
constexpr Rgb kFontClear = {8, 8, 8};

constexpr int kShotWidth = 4, kShotHeight = 8;
constexpr int kBombWidth = 4, kBombHeight = 6;
constexpr int kCarrierHeight = 14;
constexpr int kBrickWidth = 16, kBrickHeight = 8;  // five with gaps of 35 fit the width
constexpr int kBannerWidth = 100, kBannerHeight = 40;
constexpr int kGlyphWidth = 4, kFontHeight = 7;

inline Rgb playerFrameColour(int k) {
    return {0, 100 + 40 * k, 0};
}
inline Rgb playerHitColour(int k) {
    return {248, 40 * k, 0};
}
inline Rgb giftColour(int kind) {
    return {40 + 40 * kind, 248, 40};
}
inline Rgb glyphColour(char c) {
    const int k = c - '!';
    return {8 + 8 * (k % 30), 4 * (10 + k / 30), 120};
}

inline void fillRect(SDL_Surface* s, int x, int y, int w, int h, Rgb c) {
    SDL_Rect r = {static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w),
                  static_cast<Uint16>(h)};
    SDL_FillRect(s, &r, SDL_MapRGB(s->format, c.r, c.g, c.b));
}

// A strip of `frames` frames, frame k in colour(k).
template <typename Colour>
SDL_Surface* makeStrip(int frameWidth, int height, int frames, Colour colour) {
    SDL_Surface* s = testing_support::makeSurface(frameWidth * frames, height, {0, 0, 0});
    for (int k = 0; k < frames; ++k) fillRect(s, k * frameWidth, 0, frameWidth, height, colour(k));
    return s;
}

// A font of the game's format: marker row on top, every character from "!" to "~" kGlyphWidth wide.
inline SDL_Surface* makeFont() {
    const int glyphs = '~' - '!' + 1;
    SDL_Surface* s = testing_support::makeSurface(1 + glyphs * (kGlyphWidth + 1), kFontHeight, kFontClear);
    for (int k = 0; k <= glyphs; ++k) fillRect(s, k * (kGlyphWidth + 1), 0, 1, 1, kFontMarker);
    for (int k = 0; k < glyphs; ++k) {
        fillRect(s, 1 + k * (kGlyphWidth + 1), 1, kGlyphWidth, kFontHeight - 1,
                 glyphColour(static_cast<char>('!' + k)));
    }
    return s;
}

inline void setKey(SDL_Surface* s, Rgb c) {
    SDL_SetColorKey(s, SDL_SRCCOLORKEY, SDL_MapRGB(s->format, c.r, c.g, c.b));
}

// Fills the images the game frame draws, keyed as start-up keys them; returns them for freeing.
inline std::vector<SDL_Surface*> installFakeImages() {
    using testing_support::makeSurface;
    images[kGameBackground] = makeSurface(kScreenWidth, kScreenHeight, kBackground);
    images[kPlayer1] = makeStrip(kPlayerWidth, kPlayerHeight, 4, playerFrameColour);
    images[kWeapon1] = makeSurface(kShotWidth, kShotHeight, kShotColour);
    images[kWeapon2] = makeSurface(kBombWidth, kBombHeight, kBombColour);
    for (int k = 0; k < 3; ++k) {
        images[kEnemy11 + k] = makeStrip(kEnemyWidth, kEnemyHeight, 4, [k](int) { return kEnemyColour[k]; });
    }
    images[kGiftLauncher1] = makeStrip(24, kCarrierHeight, 2, [](int) { return kCarrierColour; });
    images[kGifts] = makeStrip(12, 12, 5, giftColour);
    images[kBrick] = makeSurface(kBrickWidth, kBrickHeight, kBrickColour);
    for (int k = 0; k < 5; ++k) images[kStarFront1 + k] = makeSurface(2, 2, kStarColour);
    images[kExplosion] = makeStrip(kEnemyWidth, kEnemyHeight, 5, [](int) { return kExplosionColour; });
    images[kExplosionPlayer] = makeStrip(kPlayerWidth, kPlayerHeight, 5, playerHitColour);
    images[kStart] = makeSurface(kBannerWidth, kBannerHeight, kBannerColour);
    images[kFont] = makeFont();
    images[kFontWhite] = makeFont();
    for (int slot : {kExplosion, kEnemy11, kEnemy21, kEnemy31, kPlayer1, kStart, kGiftLauncher1}) {
        setKey(images[slot], {0, 0, 0});
    }
    setKey(images[kFont], kFontClear);
    SDL_SetColorKey(images[kFontWhite], SDL_SRCCOLORKEY, readPixel(images[kFontWhite], 0, 5));
    selectFont(kFont);
    std::vector<SDL_Surface*> made;
    for (SDL_Surface* s : images) {
        if (s) made.push_back(s);
    }
    return made;
}

// The fixture of the game's tests: a fresh field with stand-in images; sound on.
class GameTest : public testing_support::SdlTest {
  protected:
    void SetUp() override {
        SdlTest::SetUp();
        made_ = installFakeImages();
    }
    void TearDown() override {
        for (SDL_Surface* s : made_) SDL_FreeSurface(s);
        for (SDL_Surface*& image : images) image = nullptr;
        SdlTest::TearDown();
    }

    bool shows(int x, int y, Rgb c) const {
        return readPixel(screen, x, y) == SDL_MapRGB(screen->format, c.r, c.g, c.b);
    }

    std::vector<SDL_Surface*> made_;
};

inline Enemy& cell(int row, int column) {
    return enemies[row * kFormationColumns + column];
}

// Empties every cell, as if all had been destroyed long ago.
inline void clearFormation() {
    for (Enemy& e : enemies) {
        e.alive = false;
        e.exploding = false;
        e.code = 0;
        e.bomb.active = false;
    }
    enemiesLeft = 0;
}

// Brings one enemy to life with `code`; counts it.
inline Enemy& placeEnemy(int row, int column, int code) {
    Enemy& e = cell(row, column);
    e.alive = true;
    e.code = static_cast<std::int16_t>(code);
    e.hitsLeft = static_cast<std::int16_t>(code - 1);
    e.frameCount = 4;
    ++enemiesLeft;
    return e;
}

// Where the cell stands in the current formation position.
inline int cellX(int column) {
    return formationX + kEnemyWidth * column;
}
inline int cellY(int row) {
    return formationY + kEnemyHeight * row;
}

// Puts the player's shot in flight with its point inside the given cell.
inline void aimShotAt(int row, int column) {
    player.shot.active = true;
    player.shot.x = static_cast<std::int16_t>(cellX(column) + 5);
    player.shot.y = static_cast<std::int16_t>(cellY(row) + 5);
}

// Stars still in the bottom-right corner, out of the way of the pixels a test looks at.
inline void parkStars() {
    for (Star& s : stars) {
        s.x = 238;
        s.y = 318;
        s.vSpeed = 0;
        s.hSpeed = 0;
    }
}

// No enemy ever fires and no carrier ever starts.
inline void quietField() {
    enemyFireChance = -1000;
    giftLaunchChance = -1000;
}

// Level 0 set up with no banner pending, a quiet field and parked stars: the start of most tests.
class QuietLevelTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        setupLevel(0);
        showLevelBanner = false;
        quietField();
        parkStars();
    }
};

}  // namespace test_world
