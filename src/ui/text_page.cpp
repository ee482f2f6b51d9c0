// The paged text of the help screen: one layout, run by pagination (which records where pages
// begin) and by drawing (which draws one page until its rectangle is full).
#include "ui/text_page.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/platform.h"
#include "resources/data_files.h"
#include "resources/images.h"
#include "ui/glyph_edges.h"

TextPage helpPage;

namespace {

constexpr int kParagraphIndent = 20;
constexpr char kBoldOn[] = "<BOLD>";
constexpr char kBoldOff[] = "</BOLD>";
constexpr char kImage[] = "<IMAGE>";

bool tagIs(const char* tag, std::size_t length, const char* name) {
    return length == std::strlen(name) && std::strncmp(tag, name, length) == 0;
}

// Story pictures name their file relative to the program folder ("data/story1.bmp"), found in the data
// folder of either layout, or relative to the picture folder when one is set; absolute paths stay.
SDL_Surface* loadPicture(const std::string& folder, const std::string& path) {
    std::string full = path;
    if (path.empty() || path[0] != '/')
        full = folder.empty() ? dataFile(path) : platform::joinPath(folder, path);
    constexpr std::size_t kMaxPictureBytes = 4 << 20;
    std::string bytes;
    if (platform::readFile(full, kMaxPictureBytes, &bytes) != platform::FileRead::Whole) return nullptr;
    SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    return stream ? SDL_LoadBMP_RW(stream, 1) : nullptr;
}

}  // namespace

// One run of the layout over the text, from the start of a page.
struct TextPageLayout {
    enum class Pass { Paginate, Draw };

    TextPage& page;
    Pass pass;
    const char* pageBegin;  // where the layout of the current page began
    const char* p;          // next character
    int x, y;

    TextPageLayout(TextPage& owner, Pass which, const char* start)
        : page(owner), pass(which), pageBegin(start), p(start), x(owner.left_), y(owner.top_) {}

    SDL_Surface* font() const { return page.fonts_[page.fontSlot_]; }
    int lineHeight() const { return font() ? font()->h : 0; }
    int bottom() const { return page.top_ + page.height_; }
    int glyph(unsigned char c) const { return glyphWidth(page.glyphEdges_, page.glyphEdgeCount_, c); }

    void run() {
        bool going = true;
        while (going && *p) going = step();
    }

    // Lays out one character or tag; false when this run is over.
    bool step() {
        const auto c = static_cast<unsigned char>(*p);
        switch (c) {
            case '\n':
                return lineFeed();
            case ' ':
                return space();
            case '<':
                return tag();
            case '\r':
            case '>':
                ++p;
                return true;
            default:
                return character(c);
        }
    }

    bool lineFeed() {
        ++p;
        y += 2 * lineHeight();
        x = page.left_ + kParagraphIndent;
        return y > bottom() ? pageFull(p) : true;
    }

    // A space ends the line when the word after it would cross the right edge.
    bool space() {
        ++p;
        const int word = wordWidth(p);
        x += kSpaceAdvance;
        if (x + word <= page.left_ + page.width_) return true;
        x = page.left_;
        y += lineHeight();
        return y > bottom() ? pageFull(p) : true;
    }

    int wordWidth(const char* q) const {
        int width = 0;
        for (; *q && !std::strchr(" <\r\n", *q); ++q) {
            const int w = glyph(static_cast<unsigned char>(*q));
            if (w > 0) width += w;
        }
        return width;
    }

    bool character(unsigned char c) {
        ++p;
        const int w = glyph(c);
        if (w < 0) return true;
        if (pass == Pass::Draw)
            drawGlyph(page.fonts_[page.fontSlot_], lineHeight(), page.glyphEdges_, c, x, y);
        x += w;
        return true;
    }

    // A tag runs to the next ">"; one without it swallows the rest of the text.
    bool tag() {
        const char* start = p;
        const char* close = std::strchr(p, '>');
        if (!close) {
            p += std::strlen(p);
            return false;
        }
        const std::size_t length = static_cast<std::size_t>(close - start) + 1;
        p = close + 1;
        if (tagIs(start, length, kBoldOn)) page.useFont(1);
        if (tagIs(start, length, kBoldOff)) page.useFont(0);
        if (tagIs(start, length, kImage)) return picture(start);
        return true;
    }

    // The path runs up to the next "<"; the layout goes on there.
    bool picture(const char* tagStart) {
        const char* pathEnd = std::strchr(p, '<');
        if (!pathEnd) pathEnd = p + std::strlen(p);
        SDL_Surface* image = loadPicture(page.pictureFolder_, std::string(p, pathEnd));
        p = pathEnd;
        if (!image) return true;  // a missing or broken picture is left out
        const bool going = placePicture(image, tagStart);
        SDL_FreeSurface(image);
        return going;
    }

    bool placePicture(SDL_Surface* image, const char* tagStart) {
        const int yImage = y + lineHeight();
        if (yImage + image->h > bottom()) {
            const char* breakAt = tagStart > page.text_ ? tagStart - 1 : tagStart;
            // A line feed in front would push the picture off a page that could hold it alone: the
            // picture opens the page itself.
            if (*breakAt == '\n' && page.top_ + 3 * lineHeight() + image->h > bottom()) breakAt = tagStart;
            // Pages only move forward: a picture that cannot fit a page opened for it is left out.
            if (breakAt <= pageBegin) return true;
            return pageFull(breakAt);
        }
        if (pass == Pass::Draw) blitImage(image, page.left_ + (page.width_ - image->w) / 2, yImage);
        x = page.left_;
        y = yImage + image->h;
        return true;
    }

    // Drawing stops; pagination opens a new page at `next` while text remains and pages are left.
    bool pageFull(const char* next) {
        if (pass == Pass::Draw) return false;
        if (!*next) return true;
        if (page.lastPage + 1 >= TextPage::kMaxPages) return false;
        ++page.lastPage;
        page.pageStart_[page.lastPage] = next;
        pageBegin = p = next;
        y = page.top_;
        return true;
    }
};

void TextPage::setArea(int left, int top, int width, int height) {
    left_ = static_cast<std::int16_t>(left);
    top_ = static_cast<std::int16_t>(top);
    width_ = static_cast<std::int16_t>(width);
    height_ = static_cast<std::int16_t>(height);
}

void TextPage::setBackground(SDL_Surface* image) {
    background_ = image;
}
void TextPage::setNormalFont(SDL_Surface* image) {
    fonts_[0] = image;
}
void TextPage::setBoldFont(SDL_Surface* image) {
    fonts_[1] = image;
}

void TextPage::setPictureFolder(const std::string& folder) {
    pictureFolder_ = folder;
}

void TextPage::useFont(int slot) {
    if (slot != 0 && slot != 1) return;
    fontSlot_ = slot;
    glyphEdgeCount_ = buildGlyphEdges(fonts_[slot], glyphEdges_);
}

void TextPage::setText(const char* text) {
    text_ = text;
    pageStart_[0] = text;
    lastPage = 0;
    if (text) TextPageLayout(*this, TextPageLayout::Pass::Paginate, text).run();
}

void TextPage::nextPage() {
    if (lastPage != 0) currentPage = std::min<std::int16_t>(currentPage + 1, lastPage);
}

void TextPage::previousPage() {
    if (lastPage != 0) currentPage = std::max<std::int16_t>(currentPage - 1, 0);
}

void TextPage::drawPage() {
    if (background_) blitImage(background_, 0, 0);
    if (!text_ || currentPage < 0 || currentPage > lastPage) return;
    TextPageLayout(*this, TextPageLayout::Pass::Draw, pageStart_[currentPage]).run();
}
