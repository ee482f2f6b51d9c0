// Every menu screen drawn with the generated art, checked where the drawing is exact and saved as a
// screenshot for looking at.
#include <cstring>
#include <string>

#include "persist/name_entry.h"
#include "persist/settings.h"
#include "platform/script/script.h"
#include "resources/images.h"
#include "shell/game_flow.h"
#include "shell/shell.h"
#include "support/test_support.h"
#include "ui/screens.h"
#include "ui/text_page.h"

namespace {

namespace script = platform::script;

constexpr int kTextLeft = 19, kTextTop = 60, kTextWidth = 205, kTextHeight = 190;

class ScreensWithArtTest : public testing_support::SdlTest {
  protected:
    void SetUp() override {
        SdlTest::SetUp();
        loadGameImages();
        story_ = testing_support::readFile(dataDir + "story");
        setUpText();  // as start-up does
        helpPage.setText(story_.c_str());
    }

    // True when the screen shows `image` unchanged in the w x h block at (x, y).
    bool showsImage(int slot, int x, int y, int w, int h, int imageX = 0, int imageY = 0) const {
        for (int j = 0; j < h; ++j) {
            for (int i = 0; i < w; ++i) {
                if (readPixel(screen_, x + i, y + j) != readPixel(images[slot], imageX + i, imageY + j))
                    return false;
            }
        }
        return true;
    }
    bool showsWholeImage(int slot) const { return showsImage(slot, 0, 0, images[slot]->w, images[slot]->h); }

    // Number of pixels in the block that differ from `slot`'s picture (the text and markers drawn on it).
    int changedPixels(int slot, int x, int y, int w, int h) const {
        int changed = 0;
        for (int j = y; j < y + h; ++j) {
            for (int i = x; i < x + w; ++i)
                changed += readPixel(screen_, i, j) != readPixel(images[slot], i, j);
        }
        return changed;
    }

    std::string story_;
};

TEST_F(ScreensWithArtTest, MenuWithAndWithoutResume) {
    drawMenu(0);
    EXPECT_TRUE(showsWholeImage(kNewGameBackground));
    saveScreenshot("menu");
    drawMenu(1);
    const SDL_Surface* resume = images[kButResume];
    EXPECT_TRUE(showsImage(kButResume, 8, 9, resume->w, resume->h));
    EXPECT_EQ(changedPixels(kNewGameBackground, 0, 100, 240, 220), 0);
    saveScreenshot("menu_in_game");
}

TEST_F(ScreensWithArtTest, OptionsMarkersSitOnTheChosenRows) {
    settings.difficulty = 1;
    settings.soundOn = 0;
    drawOptions();
    const int rw = images[kButRadio]->w, rh = images[kButRadio]->h;
    EXPECT_EQ(changedPixels(kOptions, 4, 64, rw, rh), 0);
    EXPECT_GT(changedPixels(kOptions, 4, 97, rw, rh), 0);
    EXPECT_EQ(changedPixels(kOptions, 4, 129, rw, rh), 0);
    EXPECT_EQ(changedPixels(kOptions, 4, 215, rw, rh), 0);
    EXPECT_GT(changedPixels(kOptions, 4, 247, rw, rh), 0);
    EXPECT_EQ(changedPixels(kOptions, 0, 0, 240, 320),
              changedPixels(kOptions, 4, 97, rw, rh) + changedPixels(kOptions, 4, 247, rw, rh));
    saveScreenshot("options");
}

TEST_F(ScreensWithArtTest, ScoresTableOverTheKeyboard) {
    const char* names[] = {"Ada", "Brask", "Cleo"};
    const int scores[] = {1520, 870, 35};
    for (int k = 0; k < 3; ++k) {
        std::strcpy(settings.highScoreNames[k], names[k]);
        settings.highScores[k] = scores[k];
    }
    setKeyboardCase(0);
    drawScores();
    EXPECT_TRUE(showsImage(kKeyboardSmall, 0, 234, 240, 86));
    for (int k = 0; k < 5; ++k) {
        const int y = 86 + 22 * k;
        EXPECT_GT(changedPixels(kScores, 25, y, 20, 15), 0) << "place " << k + 1;
        EXPECT_EQ(changedPixels(kScores, 50, y, 90, 15) > 0, k < 3) << "name " << k;
        EXPECT_EQ(changedPixels(kScores, 150, y, 60, 15) > 0, k < 3) << "score " << k;
    }
    saveScreenshot("scores");
    setKeyboardCase(1);
    drawScores();
    EXPECT_TRUE(showsImage(kKeyboardLarge, 0, 234, 240, 86));
    setKeyboardCase(0);
}

TEST_F(ScreensWithArtTest, ResetQuestionInTheWindow) {
    settings.highScores[0] = 99;
    std::strcpy(settings.highScoreNames[0], "Ada");
    bool shot = false;
    script::setIdleHook([&] {
        if (!script::messageWaiting() || shot) return;
        shot = true;
        saveScreenshot("scores_reset_question");
        const platform::Rect no = script::messageButton(platform::MessageAnswer::No);
        script::tap((no.left + no.right) / 2, (no.top + no.bottom) / 2, script::now());
    });
    script::tap(150, 220, 10);
    script::tap(50, 220, 20);
    EXPECT_EQ(showScores(), 1);
    EXPECT_TRUE(shot);
    EXPECT_EQ(settings.highScores[0], 99);
    EXPECT_EQ(testing_support::readFile(settingsPath()), encodeSettings(settings));
}

TEST_F(ScreensWithArtTest, HelpPagesStayInTheTextRectangle) {
    ASSERT_GE(helpPage.lastPage, 1);
    const int lineHeight = images[kFont]->h;
    for (int page = 0; page <= helpPage.lastPage && page < 2; ++page) {
        helpPage.currentPage = static_cast<std::int16_t>(page);
        blitImage(images[kHelp], 0, 0);
        helpPage.drawPage();
        saveScreenshot("help_page_" + std::to_string(page + 1));
        const int textBottom = kTextTop + kTextHeight + lineHeight;  // the last line may reach below
        EXPECT_GT(changedPixels(kHelp, kTextLeft, kTextTop, kTextWidth, kTextHeight), 0) << page;
        EXPECT_EQ(changedPixels(kHelp, 0, 0, 240, kTextTop), 0) << page;
        EXPECT_EQ(changedPixels(kHelp, 0, textBottom, 240, 320 - textBottom), 0) << page;
        EXPECT_EQ(changedPixels(kHelp, 0, 0, kTextLeft, 320), 0) << page;
    }
    helpPage.currentPage = 0;
}

TEST_F(ScreensWithArtTest, AboutAndSupport) {
    drawAbout();
    EXPECT_TRUE(showsWholeImage(kAbout));
    saveScreenshot("about");
    drawSupport();
    EXPECT_TRUE(showsWholeImage(kSupport));
    saveScreenshot("support");
}

}  // namespace
