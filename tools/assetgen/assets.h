// What the picture builders draw from: the typeface and the sprite art.
#pragma once

#include "assetgen/glyphs.h"
#include "assetgen/sprite_art.h"

namespace art {

struct Sources {
    GlyphSet glyphs;
    SpriteArt sprites;
};

}  // namespace art
