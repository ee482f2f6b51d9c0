// Glyph edge tables: the marker columns of a bitmap font's top row, shared by line text and the
// text page.
#pragma once

#include <SDL.h>

#include <cstdint>

// A font has at most 255 markers (254 glyphs); a table never holds more.
constexpr int kMaxGlyphEdges = 255;

// Space has no glyph and advances this far.
constexpr int kSpaceAdvance = 4;

// Fills `edges` (room for kMaxGlyphEdges) with the columns of row 0 whose pixel equals the one at
// (0, 0), left to right; returns how many were kept. A missing font gives 0.
int buildGlyphEdges(SDL_Surface* font, std::int32_t* edges);

// Width of the glyph of byte `c`, or -1 when the font has none for it (below "!", 128 and above,
// beyond the last marker).
int glyphWidth(const std::int32_t* edges, int edgeCount, unsigned char c);

// Copies the glyph of `c` (which must have one) from `font` to (x, y) on the screen.
void drawGlyph(SDL_Surface* font, int cellHeight, const std::int32_t* edges, unsigned char c, int x, int y);
