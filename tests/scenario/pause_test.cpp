// Pause in play: the level freezes under a PAUSED banner with the game's clock standing still, waits
// through a regained focus, and a level paused in the middle ends exactly as the same level played
// straight through.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "game/test_world.h"
#include "platform/script/script.h"

namespace {

using namespace test_world;
namespace script = platform::script;

constexpr std::uint32_t kPauseAt = 3050;  // a frame's poll: frames start every 50 ms after the banner
constexpr std::uint32_t kRegainAt = kPauseAt + 1000;
constexpr std::uint32_t kPauseLength = 4000;
constexpr std::uint32_t kLongGame = 60 * 60 * 1000;
constexpr Rgb kBand = {16, 20, 48}, kInk = {248, 168, 48};

void paintText(const char* text, int x, int y) {
    drawText(text, x, y, kFont);
}

// The whole world record, field by field, with the game's clock and the frames played.
std::string worldRecord() {
    std::ostringstream out;
    const auto shot = [&](const Projectile& p) { out << p.x << ',' << p.y << ',' << p.active << ';'; };
    shot(player.shot);
    out << player.x << ',' << player.movingLeft << player.movingRight << ',' << player.lives << ','
        << player.score << ',' << player.frame << ',' << player.speed << '|';
    for (const Enemy& e : enemies) {
        shot(e.bomb);
        out << e.x << ',' << e.y << ',' << e.alive << e.exploding << ',' << e.code << ',' << e.hitsLeft << ','
            << e.fireCounter << ',' << e.frame << '|';
    }
    for (const Star& s : stars)
        out << s.x << ',' << s.y << ',' << s.vSpeed << ',' << s.hSpeed << ',' << s.imageIndex << '|';
    for (const Brick& b : bricks) out << b.x << ',' << b.present << '|';
    const GiftLauncher& g = giftLauncher;
    out << g.x << ',' << g.y << ',' << g.movingRight << g.falling << g.freezeActive << g.chainActive
        << g.effectActive << ',' << g.kind << ',' << g.effectCounter << ',' << g.animFrame << '|';
    out << formationX << ',' << formationY << ',' << formationMovingRight << formationMovingLeft << ','
        << enemiesLeft << ',' << hurry << ',' << lastRandom << '|' << platform::ticks() << ','
        << script::delayedTotal();
    return out.str();
}

struct PauseWay {
    const char* name;
    std::function<void(std::uint32_t)> pause, resume;
};

void keyPress(SDLKey key, std::uint32_t at) {
    script::keyDown(key, at);
    script::keyUp(key, at + 10);  // its release is the pause's too
}

const PauseWay kWays[] = {
    {"P, then Space", [](std::uint32_t t) { keyPress(SDLK_p, t); },
     [](std::uint32_t t) { keyPress(SDLK_SPACE, t); }},
    {"Pause, then P", [](std::uint32_t t) { keyPress(SDLK_PAUSE, t); },
     [](std::uint32_t t) { keyPress(SDLK_p, t); }},
    {"focus lost, then a click", [](std::uint32_t t) { script::windowFocus(false, t); },
     [](std::uint32_t t) { script::tap(120, 100, t); }},
};

class Pause : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        platform::setMessagePainter(screen, paintText, textWidth, kFontHeight);
        script::setTimeLimit(kLongGame);
    }

    // The player's input, from kPauseAt on `shift` milliseconds later (the length of a pause there).
    static void queueInput(std::uint32_t shift) {
        const auto at = [shift](std::uint32_t t) { return t < kPauseAt ? t : t + shift; };
        script::keyDown(SDLK_UP, 1100);  // fire held for the whole level
        script::keyDown(SDLK_RIGHT, 1500);
        script::keyUp(SDLK_RIGHT, 2200);
        script::keyDown(SDLK_LEFT, 2500);  // held into the pause and let go during it, which the
        script::keyUp(SDLK_LEFT, shift ? kPauseAt + shift / 2 : kPauseAt);  // game learns on resuming
        script::keyDown(SDLK_RIGHT, at(6000));
        script::keyUp(SDLK_RIGHT, at(6400));
        script::keyDown(SDLK_LCTRL, at(9000));
    }

    bool bannerShown() const { return shows(3, 150, kBand); }

    // Plays level 0 to its end, paused in the middle when `way` is given; the result and the world.
    std::string playLevel(const PauseWay* way) {
        setupLevel(0);
        queueInput(way ? kPauseLength : 0);
        std::string beforePause, atPause;
        int pausedWaits = 0;
        bool pausedAfterRegain = false;
        if (way) {
            way->pause(kPauseAt);
            script::windowFocus(true, kRegainAt);  // must not resume: the player has not come back
            way->resume(kPauseAt + kPauseLength);
        }
        script::setIdleHook([&] {
            if (!bannerShown()) {
                if (script::now() <= kPauseAt) beforePause = worldRecord();
                return;
            }
            if (++pausedWaits == 1) {
                atPause = worldRecord();
                EXPECT_EQ(atPause, beforePause) << "something moved into the pause";
                saveScreenshot("paused-level");
                bool ink = false;
                for (int x = 90; x < 150; ++x) ink = ink || shows(x, 160, kInk);
                EXPECT_TRUE(ink) << "no PAUSED on the banner";
            } else {
                EXPECT_EQ(worldRecord(), atPause) << "the level moved while paused, at " << script::now();
                pausedAfterRegain = pausedAfterRegain || script::now() >= kRegainAt;
            }
        });
        const int result = runLevel();
        script::setIdleHook(nullptr);
        if (way) {
            EXPECT_TRUE(pausedAfterRegain) << "the regained focus resumed the level";
        }
        EXPECT_FALSE(bannerShown());
        EXPECT_TRUE(result == 4 || result == 5) << result;
        return std::to_string(result) + ":" + worldRecord();
    }
};

TEST_F(Pause, ALevelPausedInTheMiddleEndsAsTheSameLevelPlayedStraightThrough) {
    const std::string straight = playLevel(nullptr);
    for (const PauseWay& way : kWays) {
        SCOPED_TRACE(way.name);
        TearDown();
        SetUp();
        const std::string paused = playLevel(&way);
        const auto differ = std::mismatch(paused.begin(), paused.end(), straight.begin(), straight.end());
        EXPECT_EQ(paused, straight) << "first difference at " << differ.first - paused.begin();
        EXPECT_EQ(script::now(), platform::ticks() + kPauseLength);
    }
}

TEST_F(Pause, InPlayPausesAndResumesLeaveNoEventAndNoTimeBehind) {
    platform::beginPlay();
    keyPress(SDLK_p, 0);
    script::tap(5, 5, 100);  // a click resumes; its release goes with it
    keyPress(SDLK_PAUSE, 200);
    keyPress(SDLK_SPACE, 300);
    script::windowFocus(false, 400);
    script::windowFocus(true, 450);
    keyPress(SDLK_p, 500);
    script::keyDown(SDLK_a, 600);
    SDL_Event e;
    ASSERT_EQ(platform::waitEvent(&e), 1);
    EXPECT_EQ(e.type, SDL_KEYDOWN);
    EXPECT_EQ(e.key.keysym.sym, SDLK_a);
    EXPECT_EQ(platform::ticks(), 300u);  // 600 less three pauses of 100
    EXPECT_EQ(platform::pollEvent(&e), 0);
    platform::endPlay();
}

TEST_F(Pause, TheWheelDoesNotResumeAndAStickMovedThroughAPauseTellsOnlyWhereItRests) {
    platform::beginPlay();
    keyPress(SDLK_p, 0);
    for (int k = 0; k < 1000; ++k) script::joyAxis(0, k % 2 ? 30000 : -30000, 10);
    script::joyAxis(0, 0, 20);  // at rest again, as before the pause
    script::tap(5, 5, 50, SDL_BUTTON_WHEELUP);
    script::tap(5, 5, 100);
    script::keyDown(SDLK_a, 600);
    SDL_Event e;
    ASSERT_EQ(platform::waitEvent(&e), 1);
    EXPECT_EQ(e.type, SDL_KEYDOWN);
    EXPECT_EQ(e.key.keysym.sym, SDLK_a);
    EXPECT_EQ(platform::ticks(), 500u);
    platform::endPlay();
}

TEST_F(Pause, OutsidePlayThePauseKeysAndFocusLossReachTheScreens) {
    script::keyDown(SDLK_p);
    script::windowFocus(false);
    SDL_Event event;
    ASSERT_EQ(platform::pollEvent(&event), 1);
    EXPECT_EQ(event.type, SDL_KEYDOWN);
    ASSERT_EQ(platform::pollEvent(&event), 1);
    EXPECT_EQ(event.type, SDL_ACTIVEEVENT);
    EXPECT_EQ(platform::ticks(), script::now());
}

}  // namespace
