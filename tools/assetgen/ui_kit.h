// Shared pieces of the generated screens: space backdrops, planets, panels, buttons, titles.
#pragma once

#include <cstdint>
#include <string>

#include "assetgen/canvas.h"
#include "assetgen/glyphs.h"

namespace art {

// Deep-space gradient over the whole canvas with faint distant stars; clouds when `clouds` is set.
void spaceBackdrop(Canvas& canvas, std::uint32_t seed, bool clouds);
// Scatters `count` small stars over `area`.
void scatterStars(Canvas& canvas, const Box& area, int count, std::uint32_t seed);

struct PlanetLook {
    Colour light, dark;    // lit and shadowed surface
    Colour band = kClear;  // when opaque, soft latitude bands
    Colour ring = kClear;  // when opaque, a tilted ring
    Colour atmosphere = kClear;
};
void drawPlanet(Canvas& canvas, double cx, double cy, double radius, const PlanetLook& look,
                std::uint32_t seed);

// A rounded panel with a one-pixel edge.
void drawPanel(Canvas& canvas, const Box& box, Colour fill, Colour edge);
// A raised button that fills `box` exactly, with `label` centred on it.
void drawButton(Canvas& canvas, const GlyphSet& glyphs, const Box& box, const std::string& label);
// A title in gold, centred on `centreX`, cap top at y.
void drawTitle(Canvas& canvas, const GlyphSet& glyphs, const std::string& text, int centreX, int y,
               int scale);
// Plain text lines in the label colours; returns the y below the last line.
int drawLines(Canvas& canvas, const GlyphSet& glyphs, const char* const* lines, int x, int y, int lineHeight);

// The empty ring of a choice, `size` pixels square, at (x, y).
void drawChoiceRing(Canvas& canvas, int x, int y, int size);
// The marker the game draws into a chosen ring (transparent outside the circle).
Canvas choiceMarker(int size);

// Every pixel of `source` as a factor x factor block.
Canvas scaled(const Canvas& source, int factor);

}  // namespace art
