// A text page in a small rectangle with fonts built by the test, and a reader that turns a drawn
// line of glyphs back into its characters.
#pragma once

#include <string>
#include <vector>

#include "test_fonts.h"
#include "ui/text_page.h"

namespace test_fonts {

// Normal font: every glyph 5 wide, 10 high. Bold font: 6 wide, 14 high, other inks.
constexpr int kNormalWidth = 5, kNormalHeight = 10;
constexpr int kBoldWidth = 6, kBoldHeight = 14;
// The page's rectangle: x 10 to 69, y 20 to 60.
constexpr int kSpaceWidth = 4;
constexpr int kLeft = 10, kTop = 20, kWidth = 59, kHeight = 40;

class TextPageTest : public testing_support::SdlTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Sets up `page` as the help page is set up, then gives it `text`.
    void layOut(const std::string& text);
    // Draws page `index` onto a cleared screen.
    void draw(int index);

    // The characters drawn on the line whose top is y, read from x on; spaces for 4-pixel gaps.
    // Bold glyphs come back in upper case.
    std::string lineAt(int y, int x = kLeft) const;

    // Writes a w x h picture of one colour as a BMP into the program folder.
    void writePicture(const std::string& name, int w, int h, Rgb colour);

    TextPage page;
    std::string text_;  // kept alive for the page, as the main loop keeps the story
    SDL_Surface* normal_ = nullptr;
    SDL_Surface* bold_ = nullptr;
    SDL_Surface* background_ = nullptr;
};

}  // namespace test_fonts
