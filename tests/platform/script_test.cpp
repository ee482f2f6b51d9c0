// The headless target the tests run on: its virtual clock, its event script and the pause above it.
#include "platform/script/script.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>

#include "platform/platform.h"
#include "platform/platform_detail.h"

using namespace platform;

class ScriptTest : public ::testing::Test {
  protected:
    void SetUp() override { script::reset(); }
};

TEST_F(ScriptTest, DelayAdvancesTheVirtualClockOnly) {
    EXPECT_EQ(ticks(), 0u);
    delay(50);
    delay(1000);
    EXPECT_EQ(ticks(), 1050u);
    EXPECT_EQ(script::delayedTotal(), 1050u);
}

TEST_F(ScriptTest, TimedEventsWaitForTheirTimeAndKeepTheirOrder) {
    script::keyDown(SDLK_LEFT, 100);
    script::tap(10, 20);
    SDL_Event e;
    ASSERT_EQ(pollEvent(&e), 1);
    EXPECT_EQ(e.type, SDL_MOUSEBUTTONDOWN);
    ASSERT_EQ(pollEvent(&e), 1);
    EXPECT_EQ(e.type, SDL_MOUSEBUTTONUP);
    EXPECT_EQ(pollEvent(&e), 0);  // the key event is not due yet
    EXPECT_EQ(keyState()[SDLK_LEFT], 0);
    ASSERT_EQ(waitEvent(&e), 1);  // waiting jumps to it
    EXPECT_EQ(ticks(), 100u);
    EXPECT_EQ(e.type, SDL_KEYDOWN);
    EXPECT_EQ(keyState()[SDLK_LEFT], 1);
    script::keyUp(SDLK_LEFT);
    ASSERT_EQ(pollEvent(&e), 1);
    EXPECT_EQ(keyState()[SDLK_LEFT], 0);
}

TEST_F(ScriptTest, WaitingOnAnEmptyScriptEndsWithAQuitAtTheTimeLimit) {
    script::setTimeLimit(5000);
    SDL_Event e;
    ASSERT_EQ(waitEvent(&e), 1);
    EXPECT_EQ(e.type, SDL_QUIT);
    EXPECT_TRUE(script::timeLimitHit());
    EXPECT_EQ(ticks(), 5000u);
}

// What a pause holds back, of every kind it holds: two sources each, the first moved twice. Only the
// latest event of a source comes out after the pause, in the order of the latest.
TEST_F(ScriptTest, APauseHoldsBackTheLatestEventOfEachSource) {
    const auto make = [](Uint8 type, int source, int value) {
        SDL_Event e{};
        e.type = type;
        if (type == SDL_KEYUP) e.key.keysym.sym = source ? SDLK_b : SDLK_a;
        if (type == SDL_JOYAXISMOTION)
            e.jaxis = {type, 0, static_cast<Uint8>(source), static_cast<Sint16>(value)};
        if (type == SDL_JOYHATMOTION)
            e.jhat = {type, 0, static_cast<Uint8>(source), static_cast<Uint8>(value)};
        if (type == SDL_JOYBUTTONUP) e.jbutton = {type, 0, static_cast<Uint8>(source), SDL_RELEASED};
        return e;
    };
    for (Uint8 type : {SDL_KEYUP, SDL_JOYAXISMOTION, SDL_JOYHATMOTION, SDL_JOYBUTTONUP}) {
        script::reset();
        beginPlay();
        script::keyDown(SDLK_p, 0);
        script::pushEvent(make(type, 0, 1), 10);
        script::pushEvent(make(type, 1, 2), 20);
        script::pushEvent(make(type, 0, 3), 30);
        script::tap(5, 5, 40);  // resumes
        SDL_Event e;
        for (int source : {1, 0}) {
            ASSERT_EQ(detail::pauseLayerEvent(&e, false), 1) << int(type);
            const SDL_Event want = make(type, source, source ? 2 : 3);
            EXPECT_EQ(std::memcmp(&e, &want, sizeof e), 0) << int(type) << " " << source;
        }
        EXPECT_EQ(detail::pauseLayerEvent(&e, false), 0) << int(type);
        endPlay();
    }
}

TEST_F(ScriptTest, IdleHookCanReactToTheGame) {
    int calls = 0;
    script::setIdleHook([&] {
        if (++calls == 2) script::tap(1, 2);
    });
    SDL_Event e;
    delay(10);  // first call: nothing queued
    ASSERT_EQ(waitEvent(&e), 1);
    EXPECT_EQ(e.type, SDL_MOUSEBUTTONDOWN);
    EXPECT_EQ(calls, 2);
}
