// The generated story on the game's own help page: exactly two pages in the generated fonts, both
// drawn inside the page's rectangle.
#include <gtest/gtest.h>

#include "resources/images.h"
#include "shell/game_flow.h"
#include "support/test_support.h"
#include "ui/text_page.h"

namespace {

constexpr int kLeft = 19, kTop = 60, kWidth = 205, kHeight = 190;

class HelpPageStory : public testing_support::SdlTest {
  protected:
    void SetUp() override {
        SdlTest::SetUp();
        loadGameImages();
        story_ = testing_support::readFile(folder_ + "data/story");
        setUpText();  // as start-up does
        helpPage.setText(story_.c_str());
    }

    // The bounding box of everything the page drew over the bare background.
    struct Ink {
        int left = 1000, top = 1000, right = -1, bottom = -1, pixels = 0;
    };
    Ink inkOfPage(int page) {
        blitImage(images[kHelp], 0, 0);
        const SDL_Surface* background = images[kHelp];
        helpPage.currentPage = static_cast<std::int16_t>(page);
        helpPage.drawPage();
        Ink ink;
        for (int y = 0; y < 320; ++y) {
            for (int x = 0; x < 240; ++x) {
                if (screenPixel(x, y) == testing_support::pixelOf(const_cast<SDL_Surface*>(background), x, y))
                    continue;
                ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y), ink.bottom = std::max(ink.bottom, y);
                ++ink.pixels;
            }
        }
        saveScreenshot("help_page_story_" + std::to_string(page));
        return ink;
    }

    std::string story_;
};

TEST_F(HelpPageStory, MakesExactlyTwoPages) {
    ASSERT_FALSE(story_.empty());
    EXPECT_EQ(helpPage.lastPage, 1);
}

TEST_F(HelpPageStory, DrawsBothPagesInsideTheTextRectangle) {
    for (int page = 0; page < 2; ++page) {
        const Ink ink = inkOfPage(page);
        EXPECT_GT(ink.pixels, 2000) << "page " << page;
        EXPECT_GE(ink.left, kLeft) << "page " << page;
        EXPECT_LE(ink.right, kLeft + kWidth) << "page " << page;
        EXPECT_GE(ink.top, kTop) << "page " << page;
        // The last line may start at the bottom edge; its glyph cells reach one line lower.
        EXPECT_LE(ink.bottom, kTop + kHeight + images[kFont]->h) << "page " << page;
    }
}

}  // namespace
