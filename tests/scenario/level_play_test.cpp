// Playing real frames of a level through runLevel on the virtual clock, with scripted buttons and
// taps, and looking at what reaches the screen.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/test_world.h"
#include "platform/script/script.h"
#include "shell/game_flow.h"

namespace {

using namespace test_world;
namespace script = platform::script;

class LevelPlay : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        setupLevel(0);
    }
    int soundsOf(int n) {
        const std::string path = programDir + "data/" + std::to_string(n) + ".wav";
        const auto& played = script::soundsPlayed();
        return static_cast<int>(std::count(played.begin(), played.end(), path));
    }
    // Ends the level loop from the idle hook once `done` holds.
    template <typename Done>
    void quitWhen(Done done) {
        script::setIdleHook([this, done] {
            if (!quitQueued_ && done()) {
                quitQueued_ = true;
                script::quit();
            }
        });
    }
    bool quitQueued_ = false;
};

TEST_F(LevelPlay, TheFirstFrameShowsTheBannerForOneSecondBeforeTheFrameIsComplete) {
    quietField();
    std::vector<std::uint32_t> pauses;
    std::vector<bool> bannerShown;
    script::setIdleHook([&] {
        pauses.push_back(script::now());
        bannerShown.push_back(shows(75, 145, kBannerColour));
        if (pauses.size() == 3) script::quit();
    });
    EXPECT_EQ(runLevel(), 3);
    script::setIdleHook(nullptr);
    ASSERT_GE(pauses.size(), 3u);
    EXPECT_EQ(pauses[0], 1000u);  // the banner's pause comes first
    EXPECT_TRUE(bannerShown[0]);
    EXPECT_EQ(pauses[1], 1050u);
    EXPECT_FALSE(bannerShown[1]);
    EXPECT_FALSE(showLevelBanner);
}

TEST_F(LevelPlay, AShotKillsAnEnemyAndTheStatusLineReadsOne) {
    quietField();
    script::keyDown(SDLK_UP);
    script::keyUp(SDLK_UP, 1100);
    bool scoreShown = false;
    quitWhen([&] {
        // The frame that scored has been presented when the loop pauses after it.
        if (player.score == 1 && !scoreShown) {
            scoreShown = shows(5, 305, glyphColour('1')) && shows(8, 310, glyphColour('1')) &&
                         shows(9, 305, kBackground);
        }
        return player.score > 0;
    });
    EXPECT_EQ(runLevel(), 3);
    EXPECT_EQ(player.score, 1);
    EXPECT_EQ(enemiesLeft, 41);
    EXPECT_TRUE(scoreShown);
    EXPECT_EQ(soundsOf(0), 1);
    EXPECT_EQ(soundsOf(1), 1);
    const int exploding = static_cast<int>(
        std::count_if(enemies, enemies + kEnemyCount, [](const Enemy& e) { return e.exploding; }));
    EXPECT_EQ(exploding, 1);
    saveScreenshot("level_first_kill");
}

TEST_F(LevelPlay, HoldingFireKeepsShooting) {
    quietField();
    clearFormation();
    enemiesLeft = 42;  // nothing to hit, but the level goes on
    script::keyDown(SDLK_LCTRL);
    script::quit(3000);
    EXPECT_EQ(runLevel(), 3);
    // A shot lives 27 frames; the held button fires again in the frame after it ends.
    EXPECT_GE(soundsOf(0), 2);
    EXPECT_LE(soundsOf(0), 3);
}

TEST_F(LevelPlay, ThreeBombHitsEndTheGame) {
    enemyFireChance = 501;  // every fire chance drops a bomb
    EXPECT_EQ(runLevel(), 5);
    EXPECT_EQ(player.lives, 0);
    EXPECT_EQ(soundsOf(1), 3);  // one per hit, no enemy was destroyed
    EXPECT_EQ(player.score, 0);
    EXPECT_TRUE(shows(225, 305, glyphColour('0')));
    EXPECT_FALSE(gameOver);
    EXPECT_FALSE(script::timeLimitHit());
    saveScreenshot("level_game_over");
}

TEST_F(LevelPlay, TheFormationReachingTheShipEndsTheGameAtALeftTurn) {
    quietField();
    formationY = 150;  // the lowest row's bottom is at 258
    EXPECT_EQ(runLevel(), 5);
    EXPECT_EQ(player.lives, 3);
    EXPECT_TRUE(formationMovingRight);  // lost at the turn from left to right
}

TEST_F(LevelPlay, ATapOnTheMenuAreaReturnsTwoAndTheLevelResumesWithoutBanner) {
    quietField();
    script::tap(143, 280, 1200);  // just right of the area
    script::tap(94, 273, 1500);
    EXPECT_EQ(runLevel(), 2);
    EXPECT_EQ(script::now(), 1550u);  // the frame at 1500 took the tap
    const std::int32_t x = formationX;
    const std::uint32_t before = script::delayedTotal();
    script::quit(script::now() + 100);
    EXPECT_EQ(runLevel(), 3);
    EXPECT_EQ(script::delayedTotal() - before, 150u);  // three frames and no banner
    EXPECT_EQ(formationX, x + 3 * 2);
}

TEST_F(LevelPlay, QuitEndsTheLevelAtOnce) {
    script::quit();
    EXPECT_EQ(runLevel(), 3);
    EXPECT_EQ(script::now(), 1050u);
    EXPECT_EQ(player.lives, 3);
}

TEST_F(LevelPlay, TheShipFollowsTheArrowsUntilTheyAreReleased) {
    quietField();
    script::keyDown(SDLK_RIGHT, 1000);
    script::keyUp(SDLK_RIGHT, 1200);
    script::quit(1500);
    EXPECT_EQ(runLevel(), 3);
    // Moves in the frames at 1000, 1050, 1100 and 1150; the release is taken at 1200.
    EXPECT_EQ(player.x, 80 + 4 * 4);
}

}  // namespace
