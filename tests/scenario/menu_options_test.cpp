// The options screen: markers move at once, and the 211-byte settings file is written on every
// way out.
#include "menu_fixture.h"
#include "persist/settings.h"
#include "platform/script/script.h"
#include "shell/shell.h"
#include "ui/screens.h"

namespace menu_test {
namespace {

namespace script = platform::script;

constexpr int kDifficultyOffset = 2, kSoundOffset = 176;

class OptionsTest : public MenuTest {
  protected:
    bool markerAt(int y) const { return pixelIs(4, y, colourOf(kButRadio)); }
    // Marker rows seen each time the screen waits: difficulty 0..2 or -1, then sound on (1) or off (0).
    void recordMarkers() {
        onIdle([this] {
            int difficulty = -1;
            for (int k = 0; k < 3; ++k) {
                if (markerAt(kRows[k])) difficulty = k;
            }
            seen_.push_back({difficulty, markerAt(215) ? 1 : markerAt(247) ? 0 : -1});
        });
    }
    static constexpr int kRows[3] = {64, 97, 129};
    std::vector<std::pair<int, int>> seen_;
};

TEST_F(OptionsTest, ChoicesShowAtOnceAndAreSavedWhenLeaving) {
    recordMarkers();
    tapAt(20, 70, 10);    // menu: options
    tapAt(5, 130, 20);    // hard
    tapAt(4, 247, 30);    // sound off (top-left corner of the marker)
    tapAt(15, 108, 40);   // normal (bottom-right pixel)
    tapAt(100, 290, 50);  // OK
    tapAt(20, 190, 60);   // menu: leave
    EXPECT_EQ(showMenu(0), 3);

    // Menu, options as found, after each of the three choices, menu again.
    const std::vector<std::pair<int, int>> expected = {{-1, -1}, {0, 1}, {2, 1}, {2, 0}, {1, 0}, {-1, -1}};
    EXPECT_EQ(seen_, expected);
    EXPECT_EQ(settings.difficulty, 1);
    EXPECT_EQ(settings.soundOn, 0);
    const std::string bytes = settingsFile();
    ASSERT_EQ(bytes.size(), kSettingsFileSize);
    EXPECT_EQ(bytes[kDifficultyOffset], 1);
    EXPECT_EQ(bytes[kDifficultyOffset + 1], 0);
    EXPECT_EQ(bytes[kSoundOffset], 0);
    EXPECT_EQ(bytes, encodeSettings(settings));
}

TEST_F(OptionsTest, MarkerEdgesAndTheOkSpot) {
    tapAt(4 + kRadioSize, 130, 10);  // right edge of the hard marker: outside
    tapAt(5, 129 + kRadioSize, 20);  // its bottom edge: outside
    tapAt(138, 290, 30);             // right edge of OK: outside
    tapAt(87, 280, 40);              // OK's top-left corner
    EXPECT_EQ(showOptions(), 1);
    EXPECT_EQ(script::now(), 40u);
    EXPECT_EQ(settings.difficulty, 0);
}

TEST_F(OptionsTest, LeavingWithoutChangesStillWritesTheFile) {
    ASSERT_FALSE(testing_support::fileExists(dataDir + "korvex.set"));
    tapAt(100, 290, 10);
    EXPECT_EQ(showOptions(), 1);
    EXPECT_EQ(settingsFile(), encodeSettings(Settings{}));
}

TEST_F(OptionsTest, QuitSavesTooAndReturnsThree) {
    tapAt(5, 65, 10);  // easy, from hard
    tapAt(5, 216, 20);
    quitAt(30);
    settings.difficulty = 2;
    settings.soundOn = 0;
    EXPECT_EQ(showOptions(), 3);
    const std::string bytes = settingsFile();
    ASSERT_EQ(bytes.size(), kSettingsFileSize);
    EXPECT_EQ(bytes[kDifficultyOffset], 0);
    EXPECT_EQ(bytes[kSoundOffset], 1);
}

TEST_F(OptionsTest, RedrawnAfterEveryEventAndNoMarkerForAStrangeDifficulty) {
    settings.difficulty = 5;  // as a foreign file may hold it
    recordMarkers();
    script::moveTo(50, 50, 10);
    script::keyDown(SDLK_a, 20);
    tapAt(100, 290, 30);
    EXPECT_EQ(showOptions(), 1);
    for (const auto& s : seen_) EXPECT_EQ(s.first, -1);
    EXPECT_EQ(settingsFile()[kDifficultyOffset], 5);
}

}  // namespace
}  // namespace menu_test
