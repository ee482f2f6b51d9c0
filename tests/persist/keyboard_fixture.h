// Test pictures for the name entry: plain-coloured screens and keyboards, and a font whose every
// glyph is a solid 2-pixel-wide bar, so that what is drawn can be told apart by colour.
#pragma once

#include "persist/keyboard.h"
#include "persist/name_entry.h"
#include "resources/images.h"
#include "support/test_support.h"
#include "ui/font.h"

namespace keyboard_testing {

using testing_support::Rgb;

// Channel values that come back unchanged from a 16-bit pixel.
constexpr Rgb kScoresColour = {132, 130, 132};
constexpr Rgb kSmallColour = {0, 130, 0};
constexpr Rgb kLargeColour = {132, 0, 132};
constexpr Rgb kSmallPushedColour = {0, 255, 0};
constexpr Rgb kLargePushedColour = {255, 0, 255};
constexpr Rgb kGlyphColour = {0, 0, 255};
constexpr Rgb kMarkerColour = {255, 0, 0};
constexpr int kGlyphWidth = 2;
constexpr int kGlyphHeight = 12;
constexpr int kEditboxWidth = 100;
constexpr int kEditboxHeight = 18;

// Markers every 3 pixels for characters 33 to 126; each glyph a bar 2 wide.
inline SDL_Surface* makeBarFont() {
    const int markers = 126 - 33 + 2;
    SDL_Surface* font = testing_support::makeSurface(3 * (markers - 1) + 1, kGlyphHeight, kGlyphColour);
    const Uint32 marker = SDL_MapRGB(font->format, kMarkerColour.r, kMarkerColour.g, kMarkerColour.b);
    for (int i = 0; i < markers; ++i) {
        SDL_Rect dot = {static_cast<Sint16>(3 * i), 0, 1, 1};
        SDL_FillRect(font, &dot, marker);
    }
    return font;
}

class KeyboardTest : public testing_support::SdlTest {
  protected:
    void SetUp() override {
        SdlTest::SetUp();
        using testing_support::makeSurface;
        images[kScores] = makeSurface(240, 320, kScoresColour);
        images[kKeyboardSmall] = makeSurface(240, 86, kSmallColour);
        images[kKeyboardLarge] = makeSurface(240, 86, kLargeColour);
        images[kKeyboardSmallPushed] = makeSurface(240, 86, kSmallPushedColour);
        images[kKeyboardLargePushed] = makeSurface(240, 86, kLargePushedColour);
        images[kEditbox] = makeSurface(kEditboxWidth, kEditboxHeight, {0, 0, 0});
        images[kFont] = makeBarFont();
        selectFont(kFont);
    }
    void TearDown() override {
        for (SDL_Surface*& image : images) {
            SDL_FreeSurface(image);
            image = nullptr;
        }
        SdlTest::TearDown();
    }
};

// Screen point at the middle of key `index` (keyboard at its usual place).
inline int keyX(int index) {
    return kKeyboardLeft + (kKeys[index].rect.left + kKeys[index].rect.right) / 2;
}
inline int keyY(int index) {
    return kKeyboardTop + (kKeys[index].rect.top + kKeys[index].rect.bottom) / 2;
}

// Key indices used by the tests.
constexpr int kKeyIndexBackspace = 13;
constexpr int kKeyIndexQ = 15;
constexpr int kKeyIndexCaps = 27;
constexpr int kKeyIndexA = 28;
constexpr int kKeyIndexEnter3 = 39;
constexpr int kKeyIndexShift = 40;
constexpr int kKeyIndexEnter4 = 51;
constexpr int kKeyIndexBlankLeft = 52;
constexpr int kKeyIndexSpace = 53;

}  // namespace keyboard_testing
