// The high-score screen: the table as drawn, and the reset question answered in the window.
#include <cstring>

#include "menu_fixture.h"
#include "persist/name_entry.h"
#include "persist/settings.h"
#include "platform/script/script.h"
#include "shell/shell.h"
#include "ui/screens.h"

namespace menu_test {
namespace {

namespace script = platform::script;
using platform::MessageAnswer;

constexpr int kRowY = 86, kRowStep = 22;

class ScoresTest : public MenuTest {
  protected:
    void SetUp() override {
        MenuTest::SetUp();
        setKeyboardCase(0);
        std::strcpy(settings.highScoreNames[0], "ann");
        settings.highScores[0] = 120;
        std::strcpy(settings.highScoreNames[1], "bo");
        settings.highScores[1] = 7;
    }
    // Answers the reset question with a tap on `answer`'s button once the box is up.
    void answerWith(MessageAnswer answer) {
        onIdle([this, answer] {
            if (!script::messageWaiting() || answered_) return;
            answered_ = true;
            button_ = script::messageButton(answer);
            script::tap((button_.left + button_.right) / 2, (button_.top + button_.bottom) / 2,
                        script::now());
        });
    }
    int rowY(int k) const { return kRowY + kRowStep * k; }
    bool answered_ = false;
    platform::Rect button_{};
};

TEST_F(ScoresTest, TableShowsPlaceNameAndNonzeroScoreOverTheKeyboard) {
    settings.highScores[2] = -5;  // from a foreign file: printed all the same
    drawScores();
    EXPECT_EQ(screenShown(), kScores);
    EXPECT_TRUE(pixelIs(5, 300, colourOf(kKeyboardSmall)));
    EXPECT_TRUE(pixelIs(5, 233, colourOf(kScores)));
    EXPECT_EQ(glyphAt(25, rowY(0)), '1');
    EXPECT_EQ(glyphAt(50, rowY(0)), 'a');
    EXPECT_EQ(glyphAt(55, rowY(0)), 'n');
    EXPECT_EQ(glyphAt(150, rowY(0)), '1');
    EXPECT_EQ(glyphAt(160, rowY(0)), '0');
    EXPECT_EQ(glyphAt(150, rowY(1)), '7');
    EXPECT_EQ(glyphAt(150, rowY(2)), '-');
    EXPECT_EQ(glyphAt(155, rowY(2)), '5');
    EXPECT_EQ(glyphAt(25, rowY(4)), '5');
    EXPECT_EQ(glyphAt(50, rowY(4)), 0);
    EXPECT_EQ(glyphAt(150, rowY(4)), 0);

    setKeyboardCase(1);
    drawScores();
    EXPECT_TRUE(pixelIs(5, 300, colourOf(kKeyboardLarge)));
}

TEST_F(ScoresTest, NameWithoutTerminatorStopsAtItsField) {
    std::memset(settings.highScoreNames[0], 'x', kNameFieldSize);
    std::memset(settings.highScoreNames[1], 'y', kNameFieldSize);
    drawScores();
    const int end = 50 + kGlyphWidth * kNameFieldSize;
    EXPECT_TRUE(inkAt(end - 1, rowY(0), 'x'));
    EXPECT_FALSE(inkAt(end, rowY(0), 'x'));
    EXPECT_FALSE(inkAt(end, rowY(0), 'y'));
}

TEST_F(ScoresTest, ResetAnsweredNoStillRewritesTheFileUnchanged) {
    ASSERT_FALSE(testing_support::fileExists(dataDir + "korvex.set"));
    answerWith(MessageAnswer::No);
    tapAt(123, 209, 10);  // reset spot's top-left corner
    tapAt(40, 215, 1000);
    EXPECT_EQ(showScores(), 1);

    ASSERT_EQ(script::messages().size(), 1u);
    const script::MessageRecord& asked = script::messages()[0];
    EXPECT_EQ(asked.text, "Do you really want to reset your high scores?");
    EXPECT_EQ(asked.caption, "Reset High Scores?");
    EXPECT_EQ(asked.style, platform::MessageStyle::YesNo);
    EXPECT_EQ(asked.owner, mainWindow);
    EXPECT_EQ(asked.answer, MessageAnswer::No);
    EXPECT_TRUE(button_.left >= 0 && button_.right <= 240 && button_.top >= 0 && button_.bottom <= 320);

    EXPECT_EQ(settings.highScores[0], 120);
    EXPECT_STREQ(settings.highScoreNames[0], "ann");
    EXPECT_EQ(settingsFile(), encodeSettings(settings));
    EXPECT_EQ(glyphAt(50, rowY(0)), 'a');  // the table is drawn again behind the box
}

TEST_F(ScoresTest, ResetAnsweredYesEmptiesTheTable) {
    std::strcpy(settings.highScoreNames[2] + 1, "kept");  // past the terminator: left as it was
    answerWith(MessageAnswer::Yes);
    tapAt(150, 220, 10);
    tapAt(40, 215, 1000);
    EXPECT_EQ(showScores(), 1);
    for (int k = 0; k < kHighScoreCount; ++k) {
        EXPECT_EQ(settings.highScores[k], 0);
        EXPECT_EQ(settings.highScoreNames[k][0], '\0');
        EXPECT_EQ(glyphAt(25, rowY(k)), '1' + k);
        EXPECT_EQ(glyphAt(50, rowY(k)), 0);
        EXPECT_EQ(glyphAt(150, rowY(k)), 0);
    }
    const std::string bytes = settingsFile();
    ASSERT_EQ(bytes.size(), kSettingsFileSize);
    for (int k = 0; k < kHighScoreCount; ++k) EXPECT_EQ(bytes[6 + kNameFieldSize * k], '\0') << k;
    EXPECT_EQ(bytes.substr(156, 20), std::string(20, '\0'));  // the five scores
    EXPECT_EQ(bytes.substr(6 + 1, 2), "nn");
    EXPECT_EQ(bytes.substr(6 + 2 * kNameFieldSize + 1, 4), "kept");
}

TEST_F(ScoresTest, SpotEdgesAndQuit) {
    tapAt(81, 215, 10);   // right edge of OK
    tapAt(40, 229, 20);   // bottom edge of OK
    tapAt(200, 215, 30);  // right edge of reset
    tapAt(36, 209, 40);
    EXPECT_EQ(showScores(), 1);
    EXPECT_TRUE(script::messages().empty());
    EXPECT_FALSE(testing_support::fileExists(dataDir + "korvex.set"));
    quitAt(10);
    EXPECT_EQ(showScores(), 3);
}

TEST_F(ScoresTest, QuitWhileTheQuestionIsUpAnswersNoSavesAndCloses) {
    onIdle([] {
        if (script::messageWaiting()) script::quit(script::now());
    });
    tapAt(150, 220, 10);
    EXPECT_EQ(showScores(), 3);
    EXPECT_EQ(settings.highScores[0], 120);
    EXPECT_EQ(settingsFile(), encodeSettings(settings));
}

}  // namespace
}  // namespace menu_test
