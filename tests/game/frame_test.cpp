// One frame as a whole: the buttons, the ship and its shot, the stars, the status line, the level
// banner, and the result runLevel reports.
#include <gtest/gtest.h>

#include "game/test_world.h"
#include "platform/script/script.h"
#include "shell/game_flow.h"

namespace {

using namespace test_world;

class Frame : public QuietLevelTest {
  protected:
    // Takes the next scripted event, as the level loop does, and handles it.
    int handleNext() {
        SDL_Event event{};
        EXPECT_EQ(platform::pollEvent(&event), 1);
        int result = 0;
        handleEvent(event, &result);
        return result;
    }
};

TEST_F(Frame, TheShipStopsAtBothEdges) {
    player.x = 218;
    player.movingRight = true;
    advanceFrame();
    EXPECT_EQ(player.x, 220);
    advanceFrame();
    EXPECT_EQ(player.x, 220);
    player.movingRight = false;
    player.movingLeft = true;
    player.x = 3;
    advanceFrame();
    EXPECT_EQ(player.x, 0);
}

TEST_F(Frame, RightWinsWhenBothArrowsAreHeld) {
    platform::script::keyDown(SDLK_LEFT);
    platform::script::keyDown(SDLK_RIGHT);
    handleNext();
    EXPECT_TRUE(player.movingLeft);
    handleNext();
    EXPECT_TRUE(player.movingRight);
    EXPECT_FALSE(player.movingLeft);
    // Releasing one arrow stops only its own direction; the other is not taken up again.
    platform::script::keyUp(SDLK_RIGHT);
    handleNext();
    EXPECT_FALSE(player.movingRight);
    EXPECT_FALSE(player.movingLeft);
}

TEST_F(Frame, UpOrLeftControlFiresOneShotAtATime) {
    platform::script::keyDown(SDLK_LCTRL);
    handleNext();
    ASSERT_TRUE(player.shot.active);
    EXPECT_EQ(player.shot.x, player.x + 10 - kShotWidth / 2);
    EXPECT_EQ(player.shot.y, 234);
    EXPECT_EQ(platform::script::soundsPlayed(), std::vector<std::string>{programDir + "data/0.wav"});
    platform::script::keyDown(SDLK_UP);
    handleNext();  // a shot is in flight: nothing happens
    EXPECT_EQ(player.shot.y, 234);
    EXPECT_EQ(platform::script::soundsPlayed().size(), 1u);
}

TEST_F(Frame, TheShotIsGoneOnceItWouldLeaveTheTop) {
    fireShot();
    clearFormation();
    int frames = 0;
    while (player.shot.active && frames < 100) {
        advanceFrame();
        ++frames;
    }
    EXPECT_EQ(frames, 27);  // 234 - 9 * 26 = 0 is still on screen
    EXPECT_EQ(player.shot.y, 234);
}

TEST_F(Frame, TheMenuAreaAndQuitGiveTheirResults) {
    platform::script::press(94, 273);
    EXPECT_EQ(handleNext(), 2);
    platform::script::press(142, 292);
    EXPECT_EQ(handleNext(), 2);
    platform::script::press(143, 280);
    EXPECT_EQ(handleNext(), 0);
    platform::script::press(100, 293);
    EXPECT_EQ(handleNext(), 0);
    platform::script::quit();
    EXPECT_EQ(handleNext(), 3);
}

TEST_F(Frame, StarsDriftAgainstTheShipAndComeBackAtTheTop) {
    Star& s = stars[7];
    s.x = 1;
    s.y = 100;
    s.vSpeed = 3;
    s.hSpeed = 2;
    player.movingRight = true;
    drawFrame();
    EXPECT_EQ(s.x, 230);  // -1 wraps to 230
    EXPECT_EQ(s.y, 103);
    player.movingRight = false;
    player.movingLeft = true;
    s.x = 300;
    drawFrame();
    EXPECT_EQ(s.x, 302);  // off screen, but not yet wrapped
    s.x = 309;
    drawFrame();
    EXPECT_EQ(s.x, 0);  // 311 wraps to 0
    s.y = 318;
    drawFrame();
    EXPECT_EQ(s.y, 0);
    EXPECT_GE(s.x, 1);
    EXPECT_LE(s.x, 239);
    EXPECT_GE(s.vSpeed, 1);
    EXPECT_LE(s.vSpeed, 7);
    EXPECT_GE(s.imageIndex, 0);
    EXPECT_LE(s.imageIndex, 4);
}

TEST_F(Frame, TheStatusLineShowsLevelScoreAndLivesInTheWhiteFont) {
    levelCounter = 4;
    player.score = 12;
    player.lives = 3;
    drawFrame();
    EXPECT_TRUE(shows(225, 295, glyphColour('5')));
    EXPECT_TRUE(shows(6, 305, glyphColour('1')));
    EXPECT_TRUE(shows(10, 305, glyphColour('2')));
    EXPECT_TRUE(shows(13, 305, kBackground));
    EXPECT_TRUE(shows(225, 305, glyphColour('3')));
    EXPECT_TRUE(shows(225, 304, kBackground));  // the marker row is transparent
    EXPECT_EQ(activeFontIndex(), kFont);        // the menu font is active again afterwards
}

TEST_F(Frame, ThePlayerShowsItsNextAnimationFrameEachFrame) {
    player.frame = 2;
    drawFrame();
    EXPECT_TRUE(shows(player.x + 5, player.y + 5, playerFrameColour(3)));
    drawFrame();
    EXPECT_EQ(player.frame, 0);
    EXPECT_TRUE(shows(player.x + 5, player.y + 5, playerFrameColour(0)));
}

TEST_F(Frame, ThePendingBannerIsShownForOneSecondOnce) {
    showLevelBanner = true;
    bool bannerOnScreen = false;
    platform::script::setIdleHook(
        [&] { bannerOnScreen = shows(70, 140, kBannerColour) && shows(169, 179, kBannerColour); });
    drawFrame();
    platform::script::setIdleHook(nullptr);
    EXPECT_TRUE(bannerOnScreen);
    EXPECT_EQ(platform::script::delayedTotal(), 1000u);
    EXPECT_FALSE(showLevelBanner);
    drawFrame();
    EXPECT_EQ(platform::script::delayedTotal(), 1000u);
    EXPECT_TRUE(shows(100, 175, kBackground));
}

class LevelResult : public Frame {};

TEST_F(LevelResult, LosingWinsOverClearingInTheSameFrame) {
    clearFormation();
    Enemy& last = placeEnemy(5, 4, 1);
    player.lives = 1;
    // Its own bomb reaches the player in the frame the last enemy dies.
    last.bomb = Projectile{images[kWeapon2], -6, static_cast<std::int16_t>(player.x + 5), 234, 234, true};
    aimShotAt(5, 4);
    EXPECT_EQ(runLevel(), 5);
    EXPECT_EQ(enemiesLeft, 0);
    EXPECT_FALSE(levelCleared);
    EXPECT_FALSE(gameOver);
}

TEST_F(LevelResult, AClearedLevelReportsFourAndClearsTheFlag) {
    clearFormation();
    placeEnemy(5, 4, 1);
    giftLauncher.freezeActive = true;  // the formation stands, so the shot's path is known
    player.shot = Projectile{images[kWeapon1], 9, static_cast<std::int16_t>(cellX(4) + 5), 234, 234, true};
    EXPECT_EQ(runLevel(), 4);
    EXPECT_FALSE(levelCleared);
}

TEST_F(LevelResult, GameOverWinsOverQuitInTheSameFrame) {
    gameOver = true;
    platform::script::quit();
    EXPECT_EQ(runLevel(), 5);
    platform::script::quit();
    EXPECT_EQ(runLevel(), 3);
}

TEST_F(LevelResult, EveryFramePausesFiftyMilliseconds) {
    platform::script::quit(200);
    EXPECT_EQ(runLevel(), 3);
    EXPECT_EQ(platform::script::now(), 250u);  // the quit is taken in the frame after 200
    EXPECT_EQ(platform::script::delayedTotal(), 250u);
}

}  // namespace
