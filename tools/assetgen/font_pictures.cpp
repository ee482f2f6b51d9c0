// The game's three font images: dark text for the paper panels, its bold weight, and white status text.
#include "assetgen/palette.h"
#include "assetgen/pictures.h"
#include "assetgen/text.h"

namespace art {
namespace {

// Markers only need to differ from everything else in the image.
constexpr Colour kMarker{255, 0, 255};

}  // namespace

Canvas fontPicture(const Sources& sources) {
    return fontImage(sources.glyphs, FontLook{Weight::kRegular, palette::kInk, kMarker});
}

Canvas boldFontPicture(const Sources& sources) {
    return fontImage(sources.glyphs, FontLook{Weight::kBold, palette::kInkBold, kMarker});
}

Canvas whiteFontPicture(const Sources& sources) {
    // A dark drop shadow keeps the white digits readable over stars and clouds.
    return fontImage(sources.glyphs,
                     FontLook{Weight::kRegular, Colour(250, 252, 255), kMarker, Colour(16, 22, 58)});
}

}  // namespace art
