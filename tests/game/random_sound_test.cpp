// The random source and the sounds.
#include <gtest/gtest.h>

#include "game/test_world.h"
#include "persist/settings.h"
#include "platform/script/script.h"

namespace {

using namespace test_world;

class RandomAndSound : public GameTest {};

TEST_F(RandomAndSound, ResultsStayWithinTheirBounds) {
    bool seen[5] = {};
    for (int i = 0; i < 2000; ++i) {
        platform::delay(static_cast<std::uint32_t>(i % 7));
        const std::int32_t kind = randomRange(0, 5, i);
        ASSERT_GE(kind, 0);
        ASSERT_LE(kind, 4);
        seen[kind] = true;
        const std::int32_t x = randomRange(1, 240, 545);
        ASSERT_GE(x, 1);
        ASSERT_LE(x, 239);
        ASSERT_EQ(lastRandom, x);
    }
    for (bool s : seen) EXPECT_TRUE(s);
}

TEST_F(RandomAndSound, EachDrawReseedsFromClockPreviousResultAndSalt) {
    // Large values make the seed wrap around 32 bits.
    platform::delay(3000000);
    lastRandom = 2000000;
    const std::uint32_t seed = 3000000u * 2000000u + 77u;
    platform::seedRandom(seed);
    const int expected = 10 + platform::nextRandom() % 90;
    EXPECT_EQ(randomRange(10, 100, 77), expected);

    // The same clock, previous result and salt give the same result: the game is reproducible.
    lastRandom = 5;
    const std::int32_t first = randomRange(0, 500, 4343);
    lastRandom = 5;
    EXPECT_EQ(randomRange(0, 500, 4343), first);
}

TEST_F(RandomAndSound, SoundsPlayOnlyWhenSoundIsOn) {
    settings.soundOn = 0;
    for (int n = 0; n < 4; ++n) playSound(n);
    EXPECT_TRUE(platform::script::soundsPlayed().empty());

    settings.soundOn = 1;
    playSound(1);
    playSound(3);
    ASSERT_EQ(platform::script::soundsPlayed().size(), 2u);
    EXPECT_EQ(platform::script::soundsPlayed()[0], programDir + "data/1.wav");
    EXPECT_EQ(platform::script::soundsPlayed()[1], programDir + "data/3.wav");

    // Any non-zero value means on.
    settings.soundOn = 7;
    playSound(0);
    EXPECT_EQ(platform::script::soundsPlayed().back(), programDir + "data/0.wav");
}

TEST_F(RandomAndSound, AnUnknownSoundNumberPlaysNothing) {
    playSound(4);
    playSound(-1);
    EXPECT_TRUE(platform::script::soundsPlayed().empty());
}

}  // namespace
