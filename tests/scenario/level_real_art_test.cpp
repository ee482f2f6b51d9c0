// A level played with the generated image pack: the banner, the status line and a kill as they reach
// the screen, with screenshots of each for a look.
#include <gtest/gtest.h>

#include <vector>

#include "game/game_frame.h"
#include "platform/script/script.h"
#include "resources/images.h"
#include "shell/shell.h"
#include "support/test_support.h"
#include "ui/font.h"

namespace {

namespace script = platform::script;

class LevelRealArt : public testing_support::SdlTest {
  protected:
    void SetUp() override {
        SdlTest::SetUp();
        loadGameImages();
        // Some time after start-up, as when a player starts a game: the stars' positions are
        // drawn from the clock.
        platform::delay(4321);
        setupLevel(0);
    }

    std::vector<std::uint32_t> region(int x, int y, int w, int h) const {
        std::vector<std::uint32_t> pixels;
        for (int j = y; j < y + h; ++j) {
            for (int i = x; i < x + w; ++i) pixels.push_back(readPixel(screen, i, j));
        }
        return pixels;
    }
};

TEST_F(LevelRealArt, TheBannerIsDrawnWholeOverTheFirstFrame) {
    SDL_Surface* banner = images[kStart];
    const int left = 120 - banner->w / 2, top = 160 - banner->h / 2;
    const std::uint32_t key = banner->format->colorkey;
    int missing = -1;
    script::setIdleHook([&] {
        if (missing >= 0) return;
        missing = 0;
        for (int y = 0; y < banner->h; ++y) {
            for (int x = 0; x < banner->w; ++x) {
                const std::uint32_t p = readPixel(banner, x, y);
                if (p != key && readPixel(screen, left + x, top + y) != p) ++missing;
            }
        }
        saveScreenshot("level_banner");
        script::quit();
    });
    EXPECT_EQ(runLevel(), 3);
    EXPECT_EQ(missing, 0);
}

TEST_F(LevelRealArt, AKillShowsScoreOneOnTheStatusLine) {
    enemyFireChance = -1000;
    giftLaunchChance = -1000;
    const std::uint32_t start = script::now();
    script::keyDown(SDLK_UP);
    script::keyUp(SDLK_UP, start + 1100);
    script::keyDown(SDLK_RIGHT, start + 1200);
    script::keyUp(SDLK_RIGHT, start + 1400);
    bool queued = false;
    script::setIdleHook([&] {
        if (player.score > 0 && !queued) {
            queued = true;
            script::quit();
        }
    });
    EXPECT_EQ(runLevel(), 3);
    EXPECT_EQ(player.score, 1);
    saveScreenshot("level_first_kill_real_art");

    // The score as the frame drew it against a freshly drawn "1" on the bare background.
    const int width = 12, height = images[kFontWhite]->h;
    const std::vector<std::uint32_t> shown = region(5, 304, width, height);
    blitImagePart(images[kGameBackground], 5, 304, width, height, 5, 304);
    selectFont(kFontWhite);
    drawText("1", 5, 304, kFontWhite);
    selectFont(kFont);
    EXPECT_EQ(shown, region(5, 304, width, height));
    EXPECT_NE(shown, std::vector<std::uint32_t>(shown.size(), shown[0]));  // something was written
}

TEST_F(LevelRealArt, ACaughtBricksGiftRaisesTheShieldAgainstTheBombs) {
    enemyFireChance = 200;
    player.lives = 20;  // the test is about the shield, not about losing
    giftLauncher.falling = true;
    giftLauncher.kind = Bricks;
    giftLauncher.x = static_cast<std::int16_t>(player.x + 4);
    giftLauncher.y = 200;
    const std::uint32_t start = script::now();
    script::quit(start + 1000 + 60 * 50);
    EXPECT_EQ(runLevel(), 3);
    saveScreenshot("level_bricks_real_art");
    int standing = 0;
    for (const Brick& b : bricks) {
        if (!b.present) continue;
        ++standing;
        EXPECT_EQ(readPixel(screen, b.x + 3, b.y + 3), readPixel(images[kBrick], 3, 3));
    }
    // Bombs have come down meanwhile; some hit the shield.
    EXPECT_LT(standing, kBrickCount);
    EXPECT_EQ(giftLauncher.effectActive, true);
}

}  // namespace
