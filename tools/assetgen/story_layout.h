// Pagination of the story as the help page lays it out: word wrap at spaces, paragraphs two lines
// apart and indented, bold passages in the bold font, pictures on lines of their own. The generator
// uses it to refuse a story that does not fill exactly the help screen's pages.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace story {

struct FontMetrics {
    int height = 0;                  // line height: the font image's height
    std::array<int, 256> advance{};  // glyph width per character code; 0 for none
};

// Metrics from a font image's marker row (pixel values of row 0) and its height.
FontMetrics metricsFromMarkerRow(const std::vector<std::uint32_t>& row, int height);

struct Area {
    int left, top, width, height;
};

// Height of the picture at `path`, or a negative value when it cannot be loaded (then skipped).
using PictureHeight = std::function<int(const std::string& path)>;

struct Pagination {
    std::vector<std::size_t> pageStarts;  // offset of each page's first character
    int endFontSlot = 0;                  // font slot (0 normal, 1 bold) in force after the last tag
    std::string problem;                  // empty unless the text can never be paged
};

// `fonts` holds the normal (slot 0) and bold (slot 1) font. Pagination starts in slot 0.
Pagination paginate(const std::string& text, const FontMetrics fonts[2], const Area& area,
                    const PictureHeight& pictureHeight);

// Runs the drawing pass from `start` (at the area's top-left, in `fontSlot`): true when it reaches
// the end of the text before the page is full, so nothing of the text is cut off.
bool drawingReachesEnd(const std::string& text, std::size_t start, int fontSlot, const FontMetrics fonts[2],
                       const Area& area, const PictureHeight& pictureHeight);

}  // namespace story
