// The services every build shares alike: joining data names to folders, and the random generator.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/platform.h"

using namespace platform;

TEST(JoinPath, NormalisesWindowsStyleNamesToSingleSlashes) {
    EXPECT_EQ(joinPath("/games/space/", "\\data\\0.pak"), "/games/space/data/0.pak");
    EXPECT_EQ(joinPath("/games/space/", "//data//1.pak"), "/games/space/data/1.pak");
    EXPECT_EQ(joinPath("/games/space/", "\\data\\1.wav"), "/games/space/data/1.wav");
    EXPECT_EQ(joinPath("/games/space/", "data/story1.bmp"), "/games/space/data/story1.bmp");
    // The folder itself is kept as it is; only the appended name is normalised.
    EXPECT_EQ(joinPath("/odd\\folder/", "\\x"), "/odd\\folder/x");
}

// Replays depend on the generator's sequence: it must be the one the C library here has always given.

// Replays depend on the generator's sequence: it must be the one the C library here has always given.
TEST(Random, SameSequenceAsTheCLibraryForSeedsOfEveryKind) {
    for (std::uint32_t seed : {0u, 1u, 12345u, 0x7fffffffu, 0x80000000u, 0xdeadbeefu, 0xffffffffu}) {
        std::srand(seed);
        seedRandom(seed);
        for (int i = 0; i < 400; ++i) {
            ASSERT_EQ(nextRandom(), std::rand()) << "seed " << seed << " draw " << i;
        }
    }
}
