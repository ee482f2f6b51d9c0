// The game's fixed table of 39 images, their colour keys, and the drawing primitives.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

#include "resources/image_names.h"

class ImageList;

// Slot numbers: index in the main pack and in `images`.
enum ImageSlot {
    kStartScreen = 0,        // start_screen.bmp
    kGameBackground = 1,     // GameBackground.bmp
    kPlayer1 = 2,            // Player1.bmp
    kWeapon1 = 3,            // Weapon1.bmp
    kWeapon2 = 4,            // Weapon2.bmp
    kEnemy11 = 5,            // Enemy11.bmp
    kEnemy21 = 6,            // Enemy21.bmp
    kEnemy31 = 7,            // Enemy31.bmp
    kNewGameBackground = 8,  // NewGameBackground.bmp
    kSmallEnemy = 9,         // SmallEnemy.bmp
    kGameOver = 10,          // GameOver.bmp
    kGiftLauncher1 = 11,     // GiftLauncher1.bmp
    kGifts = 12,             // Gifts.bmp
    kBrick = 13,             // Brick.bmp
    kOptions = 14,           // options.bmp
    kHelp = 15,              // help.bmp
    kAbout = 16,             // about.bmp
    kScores = 17,            // scores.bmp
    kSupport = 18,           // support.bmp
    kFont = 19,              // font.bmp
    kFontBold = 20,          // font_bold.bmp
    kStarFront1 = 21,        // StarFront1.bmp .. StarFront5.bmp in 21..25
    kExplosion = 26,         // Explosion.bmp
    kExplosionPlayer = 27,   // ExplosionPlayer.bmp
    kButRadio = 28,          // but_radio.bmp
    kStart = 29,             // start.bmp
    kUnused30 = 30,
    kButResume = 31,            // but_resume.bmp
    kKeyboardSmall = 32,        // keyboard_small.bmp
    kKeyboardLarge = 33,        // keyboard_large.bmp
    kKeyboardSmallPushed = 34,  // keyboard_small_pushed.bmp
    kKeyboardLargePushed = 35,  // keyboard_large_pushed.bmp
    kUnused36 = 36,
    kEditbox = 37,    // editbox.bmp
    kFontWhite = 38,  // font_white.bmp
    kImageCount = 39
};

static_assert(kImageCount == kImageSlotCount, "one file name per slot");

extern SDL_Surface* images[kImageCount];

// Reads the main pack into `images` and sets the colour keys. False with `error` (naming the file and
// the problem) when the pack is missing, damaged or holds fewer than 39 images; `images` then stays as
// it was, every surface it points at alive.
bool loadImages(std::string* error);

// The display-format surface of record `index` of `list`; the index must be below its count.
SDL_Surface* getImage(const ImageList& list, int index);

// The game's surface, which every blit below draws on.
constexpr int kScreenWidth = 240;
constexpr int kScreenHeight = 320;

// Draws the whole surface onto `screen` at (x, y), clipped by SDL.
void blitImage(SDL_Surface* surface, int x, int y);

// Draws the w x h rectangle at (srcX, srcY) of `surface` onto `screen` at (x, y), clipped by SDL.
void blitImagePart(SDL_Surface* surface, int x, int y, int w, int h, int srcX, int srcY);

// The raw pixel value at (x, y); 0xFFFFFFFF without a surface or outside it.
std::uint32_t readPixel(SDL_Surface* surface, int x, int y);
