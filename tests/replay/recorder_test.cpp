// The recorder: every game of a run kept as last.kvr, and the high-score table's recordings moving with
// their entries.
#include "replay/recorder.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "platform/script/script.h"
#include "replay/score_recordings.h"
#include "support/test_support.h"

using namespace platform;
using namespace replay;

namespace {

struct ScratchFolder {
    std::string path = testing_support::makeScratchFolder() + "/";
    ~ScratchFolder() { std::filesystem::remove_all(path); }
};

std::int32_t gameNumber = 0;
void numberedState(std::int32_t* level, std::int32_t* lives, std::int32_t* score, std::int32_t* difficulty) {
    *level = 0;
    *lives = 3;
    *score = gameNumber;
    *difficulty = 0;
}
std::string nothingCarried() {
    return "";
}
std::uint32_t noChecksum() {
    return 0;
}

// The game recorded in a file, by the score it started with.
int gameIn(const std::string& path) {
    Replay replay;
    std::string error;
    return readReplayFile(path, &replay, &error) ? replay.start.score : 0;
}

}  // namespace

TEST(ReplayStore, HighScoreReplaysMoveDownWithTheirEntriesAndAResetRemovesThem) {
    namespace fs = std::filesystem;
    script::reset();
    const ScratchFolder scratch;
    const std::string& folder = scratch.path;
    WorldProbe probe;
    probe.state = numberedState;
    probe.carried = nothingCarried;
    probe.checksum = noChecksum;
    recordGames(folder, probe);
    // Game n of one frame enters the table at `place` (0 is the best).
    const auto playInto = [&](int place) {
        ++gameNumber;
        beginGame();
        beginPlay();
        SDL_Event event;
        pollEvent(&event);
        endPlay();
        endGame();
        EXPECT_EQ(gameIn(folder + "last.kvr"), gameNumber);
        keepReplayAsScore(place);
    };
    const auto expectTable = [&](const std::array<int, 5>& games) {
        for (int k = 0; k < 5; ++k) {
            EXPECT_EQ(gameIn(folder + "score-" + std::to_string(k + 1) + ".kvr"), games[k])
                << "place " << k + 1;
        }
    };
    for (int place : {0, 0, 1, 3, 4, 0}) playInto(place);
    expectTable({6, 2, 3, 1, 4});  // game 5 went out with the fifth place
    // A place whose recording is missing passes that on as its entry moves down.
    fs::remove(folder + "score-4.kvr");
    playInto(0);
    expectTable({7, 6, 2, 3, 0});
    // A recording that cannot move down (here onto a folder) keeps its place, and so do those above it.
    fs::create_directories(folder + "score-5.kvr/held");
    playInto(1);
    expectTable({7, 6, 2, 3, 0});
    fs::remove_all(folder + "score-5.kvr");
    dropScoreReplays();
    for (int k = 1; k <= 5; ++k) EXPECT_FALSE(fs::exists(folder + "score-" + std::to_string(k) + ".kvr"));
    EXPECT_TRUE(fs::exists(folder + "last.kvr"));
    // A game set up but never played replaces nothing.
    ++gameNumber;
    beginGame();
    endGame();
    EXPECT_EQ(gameIn(folder + "last.kvr"), 8);
    replay::stopRecording();
}
