// The page layout walk, shared by pagination and the drawing check.
#include "assetgen/story_layout.h"

namespace story {
namespace {

constexpr int kSpaceAdvance = 4;
constexpr int kParagraphIndent = 20;

bool endsWord(char c) {
    return c == ' ' || c == '<' || c == '\r' || c == '\n';
}

// One pass over the text. A pass stops at the end of the text or when the page is full; `breakAt`
// is then where the next page begins (or npos at the end).
struct Walker {
    const std::string& text;
    const FontMetrics* fonts;
    Area area;
    const PictureHeight& pictureHeight;
    int fontSlot = 0;
    int x = 0, y = 0;

    int lineHeight() const { return fonts[fontSlot].height; }
    int glyphWidth(char c) const { return fonts[fontSlot].advance[static_cast<unsigned char>(c)]; }
    bool full(int bottom) const { return bottom > area.top + area.height; }

    int wordWidth(std::size_t from) const {
        if (from >= text.size() || text[from] == ' ') return 0;
        int width = 0;
        for (std::size_t i = from; i < text.size() && !endsWord(text[i]); ++i) width += glyphWidth(text[i]);
        return width;
    }

    // Walks from `at`; returns npos at the end of the text, else where the next page begins.
    std::size_t run(std::size_t at) {
        while (at < text.size()) {
            const char c = text[at];
            if (c == '\n') {
                y += 2 * lineHeight();
                if (full(y)) return at + 1;
                x = area.left + kParagraphIndent;
                ++at;
            } else if (c == ' ') {
                const int width = wordWidth(at + 1);
                x += kSpaceAdvance;
                if (x + width > area.left + area.width) {
                    x = area.left;
                    y += lineHeight();
                    if (full(y)) return at + 1;
                }
                ++at;
            } else if (c == '<') {
                std::size_t close = text.find('>', at);
                const std::string tag =
                    text.substr(at, close == std::string::npos ? std::string::npos : close - at + 1);
                if (close == std::string::npos) return std::string::npos;
                at = close + 1;
                if (tag == "<BOLD>") fontSlot = 1;
                if (tag == "</BOLD>") fontSlot = 0;
                if (tag == "<IMAGE>") {
                    const std::size_t pathEnd = text.find('<', at);
                    const std::string path =
                        text.substr(at, pathEnd == std::string::npos ? std::string::npos : pathEnd - at);
                    const std::size_t tagStart = close + 1 - tag.size();
                    at = pathEnd == std::string::npos ? text.size() : pathEnd;
                    const int height = pictureHeight(path);
                    if (height < 0) continue;
                    const int top = y + lineHeight();
                    if (full(top + height)) return tagStart == 0 ? 0 : tagStart - 1;
                    x = area.left;
                    y = top + height;
                }
            } else {
                if (c != '\r' && c != '>') x += glyphWidth(c);
                ++at;
            }
        }
        return std::string::npos;
    }
};

}  // namespace

FontMetrics metricsFromMarkerRow(const std::vector<std::uint32_t>& row, int height) {
    FontMetrics metrics;
    metrics.height = height;
    std::vector<int> markers;
    for (std::size_t x = 0; x < row.size(); ++x)
        if (row[x] == row[0]) markers.push_back(static_cast<int>(x));
    for (std::size_t k = 1; k < markers.size() && k + 32 < 256; ++k) {
        metrics.advance[k + 32] = markers[k] - markers[k - 1] - 1;
    }
    return metrics;
}

Pagination paginate(const std::string& text, const FontMetrics fonts[2], const Area& area,
                    const PictureHeight& pictureHeight) {
    Pagination result;
    result.pageStarts.push_back(0);
    Walker walker{text, fonts, area, pictureHeight};
    walker.x = area.left;
    walker.y = area.top;
    std::size_t at = 0;
    for (;;) {
        const std::size_t next = walker.run(at);
        if (next == std::string::npos || next >= text.size()) break;
        if (next <= result.pageStarts.back()) {
            result.problem = "a picture is taller than a whole page";
            break;
        }
        result.pageStarts.push_back(next);
        walker.y = area.top;
        at = next;
    }
    result.endFontSlot = walker.fontSlot;
    return result;
}

bool drawingReachesEnd(const std::string& text, std::size_t start, int fontSlot, const FontMetrics fonts[2],
                       const Area& area, const PictureHeight& pictureHeight) {
    Walker walker{text, fonts, area, pictureHeight};
    walker.fontSlot = fontSlot;
    walker.x = area.left;
    walker.y = area.top;
    return walker.run(start) == std::string::npos;
}

}  // namespace story
