// Whole runs of the program on the virtual clock: splash, menu, a game played to its end, the name
// typed on the on-screen keyboard, the table in the 211-byte file and back after a restart.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "game/world.h"
#include "persist/settings.h"
#include "platform/script/script.h"
#include "resources/images.h"
#include "shell/game_flow.h"
#include "shell/startup.h"
#include "support/test_support.h"
#include "ui/text_page.h"

namespace script = platform::script;

namespace {

// Screen points of the menu and of a few keys of the on-screen keyboard (at y 234).
constexpr int kNewGameSpot[] = {60, 45}, kScoresSpot[] = {40, 135}, kHelpSpot[] = {30, 105},
              kQuitSpot[] = {30, 193};
constexpr int kShiftKey[] = {18, 234 + 59}, kKKey[] = {157, 234 + 42}, kOKey[] = {168, 234 + 26};
constexpr int kEntryOk[] = {58, 219};
constexpr std::uint32_t kGameOverPause = 3000;

class WholeGame : public testing_support::SdlTest {
  protected:
    void SetUp() override {
        SdlTest::SetUp();
        installGameData();
    }
    void tapAt(const int* point, std::uint32_t at) { script::tap(point[0], point[1], at); }
};

TEST_F(WholeGame, AGameFromTheMenuToANameStoredInTheFileAndShownAfterARestart) {
    tapAt(kNewGameSpot, 1500);       // the splash ends at 1000 ms, then the menu waits
    script::keyDown(SDLK_UP, 1600);  // hold fire for the whole game
    std::int32_t finalScore = -1;
    script::setIdleHook([&] {
        // The game-over picture's pause is the only one of three seconds: the name entry follows it.
        if (finalScore >= 0 || script::lastDelay() != kGameOverPause) return;
        finalScore = player.score;
        const std::uint32_t t = script::now() + 100;
        tapAt(kShiftKey, t);
        tapAt(kKKey, t + 100);
        tapAt(kOKey, t + 200);
        tapAt(kEntryOk, t + 300);
        tapAt(kQuitSpot, t + 1000);  // on the menu that opens after the entry
    });
    EXPECT_EQ(korvexMain(), 0);
    EXPECT_FALSE(script::timeLimitHit());
    ASSERT_GT(finalScore, 0);

    const std::string bytes = testing_support::readFile(folder_ + "data/korvex.set");
    ASSERT_EQ(bytes.size(), kSettingsFileSize);
    EXPECT_EQ(bytes.substr(6, 3), std::string("Ko\0", 3));
    std::int32_t stored;
    std::memcpy(&stored, bytes.data() + 156, 4);  // little-endian on this machine too
    EXPECT_EQ(stored, finalScore);
    EXPECT_EQ(bytes.substr(160, 16), std::string(16, '\0'));  // the other places stay empty

    // A second run reads the table back and shows it on the scores screen.
    testing_support::resetGlobals();
    script::reset();
    script::setProgramPath(folder_ + "korvex");
    tapAt(kScoresSpot, 1500);
    bool shown = false;
    script::setIdleHook([&] {
        if (shown || script::now() < 1500) return;
        shown = true;
        saveScreenshot("whole-game-scores-after-restart");
        script::quit(script::now());  // closes the scores screen
        script::quit(script::now());  // and then the menu
    });
    EXPECT_EQ(korvexMain(), 0);
    EXPECT_TRUE(shown);
    EXPECT_STREQ(settings.highScoreNames[0], "Ko");
    EXPECT_EQ(settings.highScores[0], finalScore);
}

TEST_F(WholeGame, TheSplashStaysOneSecondAndTheStoryComesFromItsFile) {
    testing_support::writeFile(folder_ + "data/story", "Zq <BOLD>x</BOLD>");
    std::uint32_t splashEnd = 1;
    bool first = true;
    script::setIdleHook([&] {
        if (!first) return;
        first = false;
        splashEnd = script::now();  // the game first sleeps or waits at the end of the splash
        script::quit(script::now());
    });
    EXPECT_EQ(korvexMain(), 0);
    EXPECT_EQ(splashEnd, 1000u);
    EXPECT_STREQ(storyText, "Zq <BOLD>x</BOLD>");
}

TEST_F(WholeGame, TheGameOverPictureIsCentredForThreeSeconds) {
    const testing_support::Rgb red{248, 0, 0};
    SDL_Surface* picture = testing_support::makeSurface(60, 40, red);
    images[kGameOver] = picture;
    player.score = 0;  // no place in the table: no name entry follows
    showGameOver();
    EXPECT_EQ(script::delayedTotal(), 3000u);
    EXPECT_EQ(screenPixel(90, 140), red);
    EXPECT_EQ(screenPixel(149, 179), red);
    EXPECT_NE(screenPixel(89, 140), red);
    EXPECT_NE(screenPixel(90, 139), red);
    EXPECT_NE(screenPixel(150, 179), red);
    EXPECT_NE(screenPixel(149, 180), red);
    SDL_FreeSurface(picture);
}

TEST_F(WholeGame, WithoutAStoryTheHelpPageIsEmptyAndTheGameGoesOn) {
    std::remove((folder_ + "data/story").c_str());
    tapAt(kHelpSpot, 1500);
    testing_support::Rgb textArea{};
    script::setIdleHook([&] {
        if (script::now() < 1500 || script::pendingEvents() > 0) return;
        textArea = screenPixel(60, 70);
        script::quit(script::now());
        script::quit(script::now());
    });
    EXPECT_EQ(korvexMain(), 0);
    ASSERT_NE(storyText, nullptr);
    EXPECT_EQ(storyText[0], '\0');
    EXPECT_EQ(helpPage.lastPage, 0);
    // With no text, the rectangle shows the help picture alone.
    EXPECT_EQ(textArea, testing_support::pixelOf(images[kHelp], 60, 70));
}

// Walks through the screens a player sees and keeps a screenshot of each (scripts/screenshots.sh turns
// them into the README's pictures).
TEST_F(WholeGame, EveryScreenOfAGameIsShownInTurn) {
    std::vector<std::string> taken;
    auto shoot = [&](const char* name) {
        saveScreenshot(std::string("readme-") + name);
        taken.push_back(name);
    };
    std::uint32_t seenDelays = 0, entryStart = 0;
    script::setIdleHook([&] {
        // A hook call with no sleep since the previous one comes from a screen waiting for a tap.
        const bool waiting = script::delayedTotal() == seenDelays;
        seenDelays = script::delayedTotal();
        const std::uint32_t now = script::now();
        if (taken.empty()) {
            shoot("splash");
        } else if (taken.size() == 1 && waiting) {
            shoot("menu");
            tapAt(kNewGameSpot, now + 100);
            script::keyDown(SDLK_UP, now + 200);
            script::keyDown(SDLK_RIGHT, now + 3000);
            script::keyUp(SDLK_RIGHT, now + 3400);
        } else if (taken.size() == 2 && now >= 9000) {
            shoot("level");
        } else if (taken.size() == 3 && script::lastDelay() == kGameOverPause) {
            entryStart = now;
            tapAt(kShiftKey, now + 100);
            tapAt(kKKey, now + 200);
            tapAt(kOKey, now + 300);
            tapAt(kEntryOk, now + 800);
            tapAt(kHelpSpot, now + 1500);
            script::tap(120, 300, now + 2500);  // the help page's back button
            tapAt(kQuitSpot, now + 3000);
        } else if (taken.size() == 3 && entryStart && now >= entryStart + 500) {
            shoot("name-entry");
        } else if (taken.size() == 4 && waiting && now >= entryStart + 1500) {
            shoot("help");
        }
    });
    EXPECT_EQ(korvexMain(), 0);
    EXPECT_EQ(taken, (std::vector<std::string>{"splash", "menu", "level", "name-entry", "help"}));
    EXPECT_FALSE(script::timeLimitHit());
}

}  // namespace
