// Text in the generated pictures (button labels, titles, pages) and the game's font images.
#pragma once

#include <string>

#include "assetgen/canvas.h"
#include "assetgen/glyphs.h"

namespace art {

constexpr int kFontHeight = 13;  // height of a font image: the game's line height
constexpr int kFontArtTop = 2;   // font image row of a glyph's top art row (row 0 holds the markers)

struct TextStyle {
    Weight weight = Weight::kBold;
    int scale = 1;
    Colour ink{255, 255, 255};
    Colour inkBottom = kClear;  // when opaque, the ink fades to it from the cap top to the baseline
    Colour shadow = kClear;     // when opaque, a copy one scaled pixel right and down, under the ink
    Colour outline = kClear;    // when opaque, a one-pixel ring around the ink (and the shadow)
};

// Width of `text` in pixels, from the first ink column to the last (no trailing spacing).
int textWidth(const GlyphSet& glyphs, const std::string& text, Weight weight, int scale = 1);

// Draws `text` with its cap top at y and its first glyph at x.
void drawText(Canvas& canvas, const GlyphSet& glyphs, const std::string& text, int x, int y,
              const TextStyle& style);

// Draws `text` centred in `box`: horizontally on its width, vertically on its cap height.
void drawTextCentred(Canvas& canvas, const GlyphSet& glyphs, const std::string& text, const Box& box,
                     const TextStyle& style);

// A font image in the game's marker-row layout: row 0 carries `marker` at column 0 and after every
// glyph; everything that is not ink, marker or shadow is transparent, to be written as the key colour.
struct FontLook {
    Weight weight = Weight::kRegular;
    Colour ink;
    Colour marker;
    Colour shadow = kClear;  // one pixel right and down, drawn into the glyph's spacing column
};
Canvas fontImage(const GlyphSet& glyphs, const FontLook& look);

}  // namespace art
