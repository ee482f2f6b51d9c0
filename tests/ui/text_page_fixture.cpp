#include "text_page_fixture.h"

#include <cctype>

#include "resources/images.h"
#include "shell/shell.h"

namespace test_fonts {

void TextPageTest::SetUp() {
    SdlTest::SetUp();
    normal_ = buildUniformFont(kNormalWidth, kNormalHeight);
    bold_ = buildUniformFont(kBoldWidth, kBoldHeight, 1);
    background_ = testing_support::makeSurface(240, 320, kPaper);
}

void TextPageTest::TearDown() {
    SDL_FreeSurface(normal_);
    SDL_FreeSurface(bold_);
    SDL_FreeSurface(background_);
    SdlTest::TearDown();
}

void TextPageTest::layOut(const std::string& text) {
    text_ = text;
    page.setArea(kLeft, kTop, kWidth, kHeight);
    page.setBackground(background_);
    page.setNormalFont(normal_);
    page.setBoldFont(bold_);
    page.useFont(0);
    page.setText(text_.c_str());
}

void TextPageTest::draw(int index) {
    clearScreen(screen);
    page.currentPage = static_cast<std::int16_t>(index);
    page.drawPage();
}

std::string TextPageTest::lineAt(int y, int x) const {
    std::string line;
    int gap = 0;
    while (x < screen->w) {
        bool found = false;
        for (int k = 0; k <= '~' - '!' && !found; ++k) {
            for (int variant : {0, 1}) {
                if (!hasColour(screen, x, y + 1, inkOf(k, variant))) continue;
                line += std::string(gap / kSpaceWidth, ' ');
                line += static_cast<char>(variant ? std::toupper('!' + k) : '!' + k);
                x += variant ? kBoldWidth : kNormalWidth;
                gap = 0;
                found = true;
                break;
            }
        }
        if (!found) {
            ++gap;
            ++x;
        }
    }
    return line;
}

void TextPageTest::writePicture(const std::string& name, int w, int h, Rgb colour) {
    SDL_Surface* picture = testing_support::makeSurface(w, h, colour);
    SDL_SaveBMP(picture, (folder_ + name).c_str());
    SDL_FreeSurface(picture);
}

}  // namespace test_fonts
