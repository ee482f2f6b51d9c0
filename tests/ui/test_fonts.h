// Small bitmap fonts built inside a test, in the game's font format: marker row on top, one glyph
// per character from "!" on, transparent grey between the markers.
#pragma once

#include <SDL.h>

#include <vector>

#include "support/test_support.h"

namespace test_fonts {

using testing_support::Rgb;

constexpr Rgb kMarker = {248, 0, 248};
constexpr Rgb kTransparent = {152, 152, 152};
constexpr Rgb kPaper = {0, 0, 0};  // what the tests clear the screen to

// The ink of glyph number `index` (0 for "!"), distinct for each glyph and from the colours above.
Rgb inkOf(int index, int variant = 0);

// A font whose glyph k ("!" + k) is widths[k] pixels wide, `height` pixels high, keyed on the
// transparent grey. `variant` changes every ink, for fonts with the same geometry but other pixels.
SDL_Surface* buildFont(const std::vector<int>& widths, int height, int variant = 0);

// A font in which every printable ASCII character from "!" to "~" is `width` pixels wide.
SDL_Surface* buildUniformFont(int width, int height, int variant = 0);

// True when the pixel at (x, y) of `s` is exactly colour `c` as the surface stores it.
bool hasColour(SDL_Surface* s, int x, int y, Rgb c);

// Fills the whole screen with kPaper.
void clearScreen(SDL_Surface* screen);

// The first column at or after `from` in row y whose pixel is not kPaper; -1 if none before `to`.
int firstInkColumn(SDL_Surface* screen, int y, int from, int to);

}  // namespace test_fonts
