// The generated game data as the tests read it: the two packs, decoded once.
#pragma once

#include <set>

#include "pack_test_support.h"

namespace tooltest {

// Slot numbers of the main pack used by the tests.
enum Slot {
    kStartScreen = 0,
    kGameBackground = 1,
    kPlayer1 = 2,
    kWeapon1 = 3,
    kWeapon2 = 4,
    kEnemy11 = 5,
    kEnemy21 = 6,
    kEnemy31 = 7,
    kNewGameBackground = 8,
    kSmallEnemy = 9,
    kGameOver = 10,
    kGiftLauncher1 = 11,
    kGifts = 12,
    kBrick = 13,
    kOptions = 14,
    kHelp = 15,
    kAbout = 16,
    kScores = 17,
    kSupport = 18,
    kFont = 19,
    kFontBold = 20,
    kStarFront1 = 21,
    kStarFront5 = 25,
    kExplosion = 26,
    kExplosionPlayer = 27,
    kButRadio = 28,
    kStart = 29,
    kUnused30 = 30,
    kButResume = 31,
    kKeyboardSmall = 32,
    kKeyboardLarge = 33,
    kKeyboardSmallPushed = 34,
    kKeyboardLargePushed = 35,
    kUnused36 = 36,
    kEditbox = 37,
    kFontWhite = 38
};

const Pack& mainPack();
const Pack& splashPack();
const pack::RawImage& slotImage(int slot);

// A rectangle with right and bottom outside, as the game's hot spots are given.
struct Rect {
    int left, top, right, bottom;
};

// The distinct 16-bit colours inside `rect` of an image.
std::set<std::uint16_t> coloursIn(const pack::RawImage& image, const Rect& rect);
// Brightness 0..255 of a 16-bit pixel.
int luma(const pack::RawImage& image, int x, int y);

}  // namespace tooltest
