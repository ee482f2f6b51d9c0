// The game's typeface: glyph shapes read from a text-art table, in a regular and a bold weight.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace art {

constexpr int kFirstGlyph = 33;  // '!'
constexpr int kLastGlyph = 126;  // '~'
constexpr int kGlyphCount = kLastGlyph - kFirstGlyph + 1;
constexpr int kArtRows = 9;       // rows 0..6 cap height, 7..8 descenders
constexpr int kSpaceAdvance = 4;  // what the game advances for a space

enum class Weight { kRegular, kBold };

struct Glyph {
    int width = 0;                  // ink columns, without the spacing column that follows
    std::vector<std::string> rows;  // kArtRows rows of '.' and '#'
    bool ink(int x, int y) const;
};

class GlyphSet {
  public:
    // Reads a table of blocks ":c" (regular) or ":c bold" (a hand-made bold shape) followed by up to
    // kArtRows rows of '.' and '#'; ';' starts a comment line. Every glyph from '!' to '~' must be given.
    bool load(const std::string& path, std::string* error);

    const Glyph& glyph(char c, Weight weight) const;
    bool has(char c) const { return c >= kFirstGlyph && c <= kLastGlyph; }

  private:
    std::array<Glyph, kGlyphCount> regular_;
    std::array<Glyph, kGlyphCount> bold_;
};

// The bold shape made from a regular one: each stem one pixel wider, one-pixel gaps kept open.
Glyph emboldened(const Glyph& regular);

}  // namespace art
