// Rows of the game's RGB565 picture widened for a window scaled by a whole number: repeated S times
// for a 16-bit window, and converted to the pixels of a 32-bit one on the way. Used by window.cpp.
#pragma once

#include <SDL.h>

#include <vector>

namespace platform::detail {

constexpr Uint32 kRedMask = 0xF800, kGreenMask = 0x07E0, kBlueMask = 0x001F;  // the game's RGB565
constexpr int kDeepWindowBits = 32;

// One row of `count` game pixels, each repeated `scale` times, into a 16-bit window of RGB565.
void widenRow(int scale, const Uint16* from, Uint16* to, int count);

// A copy of `picture` that owns its pixels, when it already has `format` and no colour key or alpha
// (the pictures of the game's packs at 16 bits): SDL's conversion would copy it pixel by pixel. Null
// when the formats differ or there is no memory.
SDL_Surface* copyInFormat(SDL_Surface* picture, const SDL_PixelFormat* format);

// A game pixel widened to 32 bits by shifts alone.
struct Widening {
    int red, green, blue;  // where each channel's 8 bits go
    bool repeatTopBits;    // 5 bits abcde widen to abcdeabc, rather than abcde000
    Uint32 fill;           // the other bits (alpha)
};

// How each game pixel becomes a pixel of a 32-bit window: the colours SDL itself gives it, so that
// a scaled picture looks exactly as it does at scale 1.
class PixelConversion {
  public:
    // Asks SDL to convert every game pixel to the format `to` once; false when it cannot.
    bool make(const SDL_PixelFormat* to);
    void clear();
    bool ready() const { return !table_.empty(); }

    // As widenRow, converting into the 32-bit window the conversion was made for.
    void convertRow(int scale, const Uint16* from, Uint32* to, int count) const;

  private:
    void findShifts(const SDL_PixelFormat* to);
    void splitTable();

    std::vector<Uint32> table_;  // each game pixel as a window pixel; empty when not made
    bool byteTables_ = false;    // table_ is two tables of 256, by high and by low byte, OR-ed
    bool byShifts_ = false;      // widening_ gives what table_ does
    Widening widening_ = {};
};

}  // namespace platform::detail
