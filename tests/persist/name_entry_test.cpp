// The high-score place rules, the room made in the table, and the edit box with its cursor.
#include "persist/name_entry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>

#include "persist/keyboard_fixture.h"
#include "persist/settings.h"
#include "shell/shell.h"

namespace {

using namespace keyboard_testing;
using testing_support::Rgb;

void setScores(std::initializer_list<std::int32_t> scores) {
    int k = 0;
    for (std::int32_t s : scores) settings.highScores[k++] = s;
}

class HighScorePlaceTest : public ::testing::Test {
  protected:
    void SetUp() override { settings = Settings{}; }
};

TEST_F(HighScorePlaceTest, DefaultTableTakesAnyPositiveScoreAtTheTop) {
    EXPECT_EQ(highScorePlace(0), -1);
    EXPECT_EQ(highScorePlace(-1), -1);
    EXPECT_EQ(highScorePlace(1), 0);
    EXPECT_EQ(highScorePlace(INT32_MAX), 0);
}

TEST_F(HighScorePlaceTest, EqualScoresGoBelowTheOlderEntry) {
    setScores({500, 300, 300, 200, 100});
    EXPECT_EQ(highScorePlace(100), -1);  // equal to entry 4
    EXPECT_EQ(highScorePlace(101), 4);
    EXPECT_EQ(highScorePlace(300), 3);  // equal to entries 1 and 2, above entry 3
    EXPECT_EQ(highScorePlace(500), 1);
    EXPECT_EQ(highScorePlace(501), 0);
}

TEST_F(HighScorePlaceTest, ScoresCompareAsSignedNumbers) {
    setScores({40, 0, -3, -10, -20});
    EXPECT_EQ(highScorePlace(0), 2);
    EXPECT_EQ(highScorePlace(-5), 3);
    EXPECT_EQ(highScorePlace(-20), -1);
    EXPECT_EQ(highScorePlace(INT32_MIN), -1);
}

class NameEntryTest : public KeyboardTest {};

TEST_F(NameEntryTest, ScoreThatQualifiesForNoPlaceShowsAndSavesNothing) {
    setScores({50, 40, 30, 20, 10});
    SDL_FillRect(screen, nullptr, 0);
    platform::script::quit(0);
    enterHighScore(10);
    EXPECT_EQ(platform::script::pendingEvents(), 1u);
    EXPECT_EQ(screenPixel(120, 160), (Rgb{0, 0, 0}));
    EXPECT_FALSE(testing_support::fileExists(settingsPath()));
    EXPECT_EQ(settings.highScores[4], 10);
}

TEST_F(NameEntryTest, UnterminatedNameMovesDownWithinItsField) {
    setScores({50, 40, 30, 20, 10});
    std::memset(settings.highScoreNames[3], 'x', kNameFieldSize);
    std::strcpy(settings.highScoreNames[4], "old");
    platform::script::tap(50, 220, 0);  // OK at once
    enterHighScore(45);
    for (int i = 0; i < kNameFieldSize; ++i) ASSERT_EQ(settings.highScoreNames[4][i], 'x') << i;
    const std::int32_t expected[] = {50, 45, 40, 30, 20};
    for (int k = 0; k < kHighScoreCount; ++k) EXPECT_EQ(settings.highScores[k], expected[k]) << k;
    EXPECT_EQ(settings.soundOn, 1);
    EXPECT_STREQ(settings.highScoreNames[1], "");
}

TEST_F(NameEntryTest, BytesAfterANamesTerminatorStayWhenEntriesMoveDown) {
    setScores({50, 40, 30, 20, 10});
    for (int k = 0; k < kHighScoreCount; ++k) {
        std::memset(settings.highScoreNames[k], 'a' + k, kNameFieldSize);
        settings.highScoreNames[k][2] = '\0';
    }
    platform::script::tap(50, 220, 0);  // OK at once: an empty name
    enterHighScore(45);
    for (int k = 1; k < kHighScoreCount; ++k) {
        const char* name = settings.highScoreNames[k];
        const char moved = static_cast<char>(k == 1 ? '\0' : 'a' + k - 1);  // what came down to this row
        EXPECT_EQ(name[0], moved) << k;
        for (int i = 3; i < kNameFieldSize; ++i) ASSERT_EQ(name[i], 'a' + k) << k << " " << i;
    }
}

class EditBoxTest : public KeyboardTest {
  protected:
    static constexpr int kTop = 86 + 22 * 2;
    void SetUp() override {
        KeyboardTest::SetUp();
        setEditBoxPlace(2);
    }
    static constexpr Rgb kYellow = {255, 255, 0};
    bool glyphAt(int x) const { return screenPixel(x, kTop + 5) == kGlyphColour; }
};

TEST_F(EditBoxTest, CursorShowsForThreeDrawsThenBlinksEveryFour) {
    const char* expected = "111000011110000111";  // draws 1 to 18
    for (const char* e = expected; *e; ++e) {
        drawEditBox("");
        EXPECT_EQ(glyphAt(50), *e == '1') << "draw " << (e - expected + 1);
    }
}

TEST_F(EditBoxTest, TextIsFollowedByTheCursorLetter) {
    drawEditBox("ab");
    EXPECT_TRUE(glyphAt(50));
    EXPECT_TRUE(glyphAt(53));
    EXPECT_TRUE(glyphAt(55));  // the cursor "l"
    EXPECT_FALSE(glyphAt(56));
    for (int i = 0; i < 3; ++i) drawEditBox("ab");
    EXPECT_TRUE(glyphAt(53));
    EXPECT_FALSE(glyphAt(54));
}

TEST_F(EditBoxTest, ClearsItsAreaFromTheScoresPictureOnly) {
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, kYellow.r, kYellow.g, kYellow.b));
    for (int i = 0; i < 4; ++i) drawEditBox("");  // cursor hidden on the fourth draw
    EXPECT_EQ(screenPixel(50, kTop), kScoresColour);
    EXPECT_EQ(screenPixel(50 + kEditboxWidth - 1, kTop + kEditboxHeight - 1), kScoresColour);
    EXPECT_EQ(screenPixel(49, kTop), kYellow);
    EXPECT_EQ(screenPixel(50 + kEditboxWidth, kTop), kYellow);
    EXPECT_EQ(screenPixel(50, kTop + kEditboxHeight), kYellow);
    EXPECT_EQ(screenPixel(50, kTop - 1), kYellow);
}

TEST_F(EditBoxTest, SelectsTheMainFont) {
    images[kFontWhite] = testing_support::makeSurface(4, 4, {1, 1, 1});
    selectFont(kFontWhite);
    drawEditBox("");
    EXPECT_EQ(activeFontIndex(), kFont);
    EXPECT_TRUE(glyphAt(50));
}

}  // namespace
