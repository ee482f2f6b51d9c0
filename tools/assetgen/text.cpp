// Rendering glyph masks: scale, outline, shadow and a vertical ink gradient.
#include "assetgen/text.h"

#include <algorithm>
#include <vector>

namespace art {
namespace {

constexpr int kCapRows = 7;

// Ink mask of a whole string in screen pixels (glyph pixels scaled up), with `margin` empty pixels
// on every side.
struct Mask {
    int width = 0, height = 0, margin = 0;
    std::vector<char> bits;
    bool at(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height && bits[y * width + x]; }
    bool near(int x, int y, int reach) const {
        for (int dy = -reach; dy <= reach; ++dy)
            for (int dx = -reach; dx <= reach; ++dx)
                if (at(x + dx, y + dy)) return true;
        return false;
    }
};

Mask textMask(const GlyphSet& glyphs, const std::string& text, Weight weight, int scale, int margin) {
    Mask mask;
    mask.margin = margin;
    mask.width = textWidth(glyphs, text, weight, scale) + 2 * margin;
    mask.height = kArtRows * scale + 2 * margin;
    mask.bits.assign(static_cast<std::size_t>(mask.width) * mask.height, 0);
    int pen = margin;
    for (char c : text) {
        if (!glyphs.has(c)) {
            pen += kSpaceAdvance * scale;
            continue;
        }
        const Glyph& glyph = glyphs.glyph(c, weight);
        for (int y = 0; y < kArtRows * scale; ++y)
            for (int x = 0; x < glyph.width * scale; ++x)
                if (glyph.ink(x / scale, y / scale)) mask.bits[(y + margin) * mask.width + pen + x] = 1;
        pen += (glyph.width + 1) * scale;
    }
    return mask;
}

}  // namespace

int textWidth(const GlyphSet& glyphs, const std::string& text, Weight weight, int scale) {
    int width = 0;
    for (char c : text) width += glyphs.has(c) ? glyphs.glyph(c, weight).width + 1 : kSpaceAdvance;
    if (!text.empty() && glyphs.has(text.back())) width -= 1;
    return width * scale;
}

void drawText(Canvas& canvas, const GlyphSet& glyphs, const std::string& text, int x, int y,
              const TextStyle& style) {
    const int s = style.scale;
    const int drop = std::max(1, s / 2);  // shadow offset
    const int ring = s >= 4 ? 2 : 1;      // outline thickness
    const int margin = drop + ring + 1;
    const Mask mask = textMask(glyphs, text, style.weight, s, margin);
    const int capPixels = kCapRows * s;
    for (int my = 0; my < mask.height; ++my) {
        for (int mx = 0; mx < mask.width; ++mx) {
            const int px = x - margin + mx, py = y - margin + my;
            const bool shadowed = style.shadow.opaque() && mask.at(mx - drop, my - drop);
            if (mask.at(mx, my)) {
                Colour colour = style.ink;
                if (style.inkBottom.opaque()) {
                    colour =
                        mix(style.ink, style.inkBottom, static_cast<double>(my - margin) / (capPixels - 1));
                }
                canvas.set(px, py, colour);
            } else if (shadowed) {
                canvas.set(px, py, style.shadow);
            } else if (style.outline.opaque() &&
                       (mask.near(mx, my, ring) ||
                        (style.shadow.opaque() && mask.near(mx - drop, my - drop, ring)))) {
                canvas.set(px, py, style.outline);
            }
        }
    }
}

void drawTextCentred(Canvas& canvas, const GlyphSet& glyphs, const std::string& text, const Box& box,
                     const TextStyle& style) {
    const int width = textWidth(glyphs, text, style.weight, style.scale);
    const int x = box.left + (box.width() - width) / 2;
    const int y = box.top + (box.height() - kCapRows * style.scale) / 2;
    drawText(canvas, glyphs, text, x, y, style);
}

Canvas fontImage(const GlyphSet& glyphs, const FontLook& look) {
    int width = 1;
    for (int c = kFirstGlyph; c <= kLastGlyph; ++c)
        width += glyphs.glyph(static_cast<char>(c), look.weight).width + 2;
    Canvas image(width, kFontHeight);
    int marker = 0;
    image.set(marker, 0, look.marker);
    for (int c = kFirstGlyph; c <= kLastGlyph; ++c) {
        const Glyph& glyph = glyphs.glyph(static_cast<char>(c), look.weight);
        const int left = marker + 1;
        for (int y = 0; y < kArtRows; ++y) {
            for (int x = 0; x <= glyph.width; ++x) {
                if (glyph.ink(x, y)) {
                    image.set(left + x, kFontArtTop + y, look.ink);
                } else if (look.shadow.opaque() && glyph.ink(x - 1, y - 1)) {
                    image.set(left + x, kFontArtTop + y, look.shadow);
                }
            }
        }
        if (look.shadow.opaque()) {  // the shadow of the glyph's bottom row
            for (int x = 1; x <= glyph.width; ++x)
                if (glyph.ink(x - 1, kArtRows - 1)) image.set(left + x, kFontArtTop + kArtRows, look.shadow);
        }
        marker = left + glyph.width + 1;
        image.set(marker, 0, look.marker);
    }
    return image;
}

}  // namespace art
