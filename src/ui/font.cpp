// Line text: one process-wide active font, drawn without wrapping.
#include "ui/font.h"

#include "resources/images.h"
#include "ui/glyph_edges.h"

namespace {

constexpr unsigned char kFirstGlyph = '!';
constexpr int kLineFeedStep = 15;  // fixed, whatever the font's height

int activeFont = -1;
std::int32_t activeFontEdges[kMaxGlyphEdges];
int activeFontEdgeCount = 0;

bool isImageIndex(int index) {
    return index >= 0 && index < kImageCount;
}

}  // namespace

int buildGlyphEdges(SDL_Surface* font, std::int32_t* edges) {
    if (!font) return 0;
    const std::uint32_t marker = readPixel(font, 0, 0);
    int count = 0;
    for (int x = 0; x < font->w && count < kMaxGlyphEdges; ++x) {
        if (readPixel(font, x, 0) == marker) edges[count++] = x;
    }
    return count;
}

int glyphWidth(const std::int32_t* edges, int edgeCount, unsigned char c) {
    if (c < kFirstGlyph || c >= 128) return -1;
    const int right = c - kFirstGlyph + 1;
    if (right >= edgeCount) return -1;
    return edges[right] - edges[right - 1] - 1;
}

void drawGlyph(SDL_Surface* font, int cellHeight, const std::int32_t* edges, unsigned char c, int x, int y) {
    const int left = edges[c - kFirstGlyph];
    const int width = edges[c - kFirstGlyph + 1] - left - 1;
    blitImagePart(font, x, y, width, cellHeight, left + 1, 0);
}

void selectFont(int imageIndex) {
    if (!isImageIndex(imageIndex)) {
        activeFont = -1;
        activeFontEdgeCount = 0;
        return;
    }
    activeFont = imageIndex;
    activeFontEdgeCount = buildGlyphEdges(images[imageIndex], activeFontEdges);
}

int activeFontIndex() {
    return activeFont;
}

void drawText(const char* text, int x, int y, int fontImage) {
    if (!text || activeFont < 0 || !isImageIndex(fontImage)) return;
    SDL_Surface* cells = images[fontImage];
    const int cellHeight = images[activeFont] ? images[activeFont]->h : 0;
    const int x0 = x;
    for (const char* p = text; *p; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c == ' ') {
            x += kSpaceAdvance;
        } else if (c == '\n') {
            x = x0;
            y += kLineFeedStep;
        } else if (const int width = glyphWidth(activeFontEdges, activeFontEdgeCount, c); width >= 0) {
            drawGlyph(cells, cellHeight, activeFontEdges, c, x, y);
            x += width;
        }
    }
}

int textWidth(const char* text) {
    if (!text || activeFont < 0) return 0;
    int width = 0;
    for (const char* p = text; *p && *p != '\n'; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c == ' ') {
            width += kSpaceAdvance;
        } else if (const int w = glyphWidth(activeFontEdges, activeFontEdgeCount, c); w > 0) {
            width += w;
        }
    }
    return width;
}
