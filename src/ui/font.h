// Line text in bitmap fonts: one process-wide active font.
#pragma once

#include <cstdint>

// Makes images[imageIndex] the active font and rebuilds its glyph edge table. An index outside the
// image table leaves no active font.
void selectFont(int imageIndex);

// Draws `text` with its first glyph's top-left corner at (x, y): glyph positions from the active
// font, pixels from images[fontImage]. Nothing without an active font or text.
void drawText(const char* text, int x, int y, int fontImage);

// The index of the active font, -1 before the first selectFont.
int activeFontIndex();

// Width in pixels of `text` drawn with the active font, up to its first line feed.
int textWidth(const char* text);
