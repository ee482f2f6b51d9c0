// The help page's layout and pagination on any text with markup. Fonts have glyphs of many widths;
// pictures come from a small fixed set of files (a '/' in the input becomes '_', so no other file is
// reached). Pages must move forward, and every page must draw.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "ui/text_page.h"

namespace {

SDL_Surface* makeFont(int height, int widthSalt) {
    int total = 1;
    for (int k = 0; k < 94; ++k) total += 1 + (k * widthSalt) % 7;
    SDL_Surface* font = SDL_CreateRGBSurface(SDL_SWSURFACE, total, height, 16, 0xF800, 0x07E0, 0x001F, 0);
    SDL_FillRect(font, nullptr, 0x1234);
    SDL_Rect marker = {0, 0, 1, 1};
    SDL_FillRect(font, &marker, 0xFFFF);
    for (int k = 0; k < 94; ++k) {
        marker.x = static_cast<Sint16>(marker.x + 1 + (k * widthSalt) % 7);
        SDL_FillRect(font, &marker, 0xFFFF);
    }
    return font;
}

void writePicture(const char* name, int w, int h) {
    SDL_Surface* picture = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 8, 0, 0, 0, 0);
    SDL_FillRect(picture, nullptr, 7);
    SDL_SaveBMP(picture, (fuzz::scratchFolder() + name).c_str());
    SDL_FreeSurface(picture);
}

TextPage& setUpPage() {
    static TextPage page;
    fuzz::openScreen();
    // Small 8-bit files, so that loading them anew on every pass stays cheap.
    writePicture("a.bmp", 20, 15);
    writePicture("b.bmp", 205, 60);
    writePicture("c.bmp", 8, 200);  // taller than a page
    writePicture("d.bmp", 300, 2);  // wider than a page
    writePicture("e.bmp", 1, 1);
    // Drawing is what is checked, not the picture under it: a 1 x 1 background keeps the passes fast.
    static SDL_Surface* background = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 16, 0, 0, 0, 0);
    page.setArea(19, 60, 205, 190);
    page.setBackground(background);
    page.setNormalFont(makeFont(12, 3));
    page.setBoldFont(makeFont(17, 5));
    page.setPictureFolder(fuzz::scratchFolder());
    return page;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TextPage& page = setUpPage();
    std::string text(reinterpret_cast<const char*>(data), size);
    for (char& c : text) {
        if (c == '/') c = '_';
    }
    page.useFont(0);
    page.setText(text.c_str());
    fuzz::require(page.lastPage >= 0 && page.lastPage < TextPage::kMaxPages, "page count out of range");
    for (int k = 1; k <= page.lastPage; ++k) {
        fuzz::require(page.pageStart(k) > page.pageStart(k - 1), "a page starts before the one in front");
        fuzz::require(page.pageStart(k) < text.c_str() + text.size(), "a page starts after the text");
    }
    for (int k = 0; k <= page.lastPage; ++k) {
        page.currentPage = static_cast<std::int16_t>(k);
        page.drawPage();
    }
    page.currentPage = 0;
    return 0;
}
