// Builders of every picture the game loads, one function per picture.
#pragma once

#include "assetgen/assets.h"
#include "assetgen/canvas.h"

namespace art {

// A finished picture and the colour its transparent pixels are written as (the game's colour key,
// or black for pictures the game draws opaque, which have no transparent pixels).
struct Picture {
    Canvas canvas;
    Colour key;
};

// The picture of main-pack slot 0..38, in the game's slot order.
Picture slotPicture(int slot, const Sources& sources);

// The picture the story shows (its file is named in the story text).
Canvas storyPicture(const Sources& sources);

// Sprites and small pictures (sprite_pictures.cpp).
Canvas playerStrip(const Sources& sources);
Canvas playerExplosionStrip(const Sources& sources);
Canvas enemyStrip(const Sources& sources, int hits);
Canvas enemyExplosionStrip(const Sources& sources);
Canvas carrierStrip(const Sources& sources);
Canvas giftsStrip(const Sources& sources);
Canvas shotPicture(const Sources& sources);
Canvas bombPicture(const Sources& sources);
Canvas brickPicture(const Sources& sources);
Canvas starPicture(int kind);
Canvas choiceMarkerPicture(const Sources& sources);
Canvas smallEnemyPicture(const Sources& sources);
Canvas placeholderPicture(const Sources& sources);
Canvas editBoxPicture(const Sources& sources);

// Fonts (font_pictures.cpp).
Canvas fontPicture(const Sources& sources);
Canvas boldFontPicture(const Sources& sources);
Canvas whiteFontPicture(const Sources& sources);
constexpr Colour kWhiteFontKey{0, 0, 0};

// Full-screen pictures and banners (screen_pictures.cpp, menu_pictures.cpp).
Canvas splashPicture(const Sources& sources);
Canvas gameBackground(const Sources& sources);
Canvas menuBackground(const Sources& sources);
Canvas resumeButton(const Sources& sources);
Canvas optionsScreen(const Sources& sources);
Canvas scoresScreen(const Sources& sources);
Canvas helpScreen(const Sources& sources);
Canvas aboutScreen(const Sources& sources);
Canvas supportScreen(const Sources& sources);
Canvas gameOverBanner(const Sources& sources);
Canvas levelBanner(const Sources& sources);

// The on-screen keyboard (keyboard_pictures.cpp): `large` for the shifted case.
Canvas keyboardPicture(const Sources& sources, bool large, bool pushed);

}  // namespace art
