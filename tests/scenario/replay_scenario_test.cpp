// Recorded games on the real program: a game played is kept as last.kvr and as its high score's
// replay; verifying and watching it replay the same game and write nothing, ask for nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <string>

#include "persist/settings.h"
#include "platform/script/script.h"
#include "replay/recorder.h"
#include "replay/replay_file.h"
#include "replay/replay_run.h"
#include "shell/command_line.h"
#include "shell/startup.h"
#include "support/test_support.h"

namespace fs = std::filesystem;
namespace script = platform::script;
using replay::Replay;

namespace {

constexpr std::uint32_t kGameOverPause = 3000;

class RecordedGame : public testing_support::SdlTest {
  protected:
    void SetUp() override {
        SdlTest::SetUp();
        installGameData();
    }
    // A new process on the same folder.
    void restart() {
        testing_support::resetGlobals();
        script::reset();
        script::setProgramPath(folder_ + "korvex");
    }
    std::string file(const char* name) const { return testing_support::readFile(folder_ + "data/" + name); }
    // A new game from the menu played to its end, its name entered, then quit.
    static void scriptAGameToTheTable() {
        script::tap(60, 45, 1500);       // new game
        script::keyDown(SDLK_UP, 1600);  // fire held all game long
        script::keyDown(SDLK_RIGHT, 4000);
        script::keyUp(SDLK_RIGHT, 4300);
        script::setIdleHook([] {
            if (script::lastDelay() != kGameOverPause) return;
            script::tap(58, 219, script::now() + 100);   // OK on the name entry
            script::tap(30, 193, script::now() + 1000);  // quit on the menu
        });
    }
};

// Every file below `folder` with its size.
std::map<std::string, std::uintmax_t> tree(const std::string& folder) {
    std::map<std::string, std::uintmax_t> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        files[entry.path().string()] = entry.is_regular_file() ? entry.file_size() : 0;
    }
    return files;
}

TEST_F(RecordedGame, IsKeptVerifiedAndWatchedWithoutWritingAnything) {
    scriptAGameToTheTable();
    ASSERT_EQ(korvexMain(), 0);
    const std::int32_t score = settings.highScores[0];
    ASSERT_GT(score, 0);
    const std::string recorded = file("last.kvr"), table = file("korvex.set");
    ASSERT_FALSE(recorded.empty());
    EXPECT_EQ(file("score-1.kvr"), recorded);
    replay::Replay replay;
    std::string error;
    ASSERT_TRUE(replay::decodeReplay(recorded, &replay, &error)) << error;
    for (std::size_t f = 0; f < replay.frames.size(); ++f) {
        ASSERT_EQ(replay.frames[f].checked, (f + 1) % 100 == 0) << "frame " << f + 1;
    }

    restart();
    Options verify;
    verify.verifyFile = folder_ + "data/last.kvr";
    testing::internal::CaptureStdout();
    EXPECT_EQ(korvexMain(verify), 0);
    const std::string line = testing::internal::GetCapturedStdout();
    EXPECT_EQ(line.rfind("score " + std::to_string(score) + " level 1 lives 0 frames ", 0), 0u) << line;
    EXPECT_NE(line.find(" ok\n"), std::string::npos) << line;
    EXPECT_EQ(script::delayedTotal(), 0u);  // no waiting

    // Watched at four times the pace until Escape, then with the window closed: nothing printed.
    restart();
    Options watch;
    watch.replayFile = folder_ + "data/score-1.kvr";
    watch.speed = 4;
    script::keyDown(SDLK_ESCAPE, 3000);
    testing::internal::CaptureStdout();
    EXPECT_EQ(korvexMain(watch), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_GE(script::now(), 3000u);
    EXPECT_LT(script::now(), 3100u);
    EXPECT_EQ(script::lastDelay(), 50u / 4);

    // Nothing was written, no name asked for, no stored replay touched.
    EXPECT_FALSE(script::timeLimitHit());
    EXPECT_TRUE(script::messages().empty());
    EXPECT_EQ(file("korvex.set"), table);
    EXPECT_EQ(file("last.kvr"), recorded);
    EXPECT_EQ(file("score-1.kvr"), recorded);
    EXPECT_FALSE(testing_support::fileExists(folder_ + "data/korvex.set.new"));
    EXPECT_FALSE(testing_support::fileExists(folder_ + "data/score-2.kvr"));

    // A file that is not a recording is refused before any window opens.
    restart();
    testing_support::writeFile(folder_ + "data/bad.kvr", "KVR\x1a");
    verify.verifyFile = folder_ + "data/bad.kvr";
    EXPECT_EQ(korvexMain(verify), 2);
}

TEST_F(RecordedGame, AGameLongerThanARecordingMayBeIsKeptUpToTheLimitAndVerifiedToThere) {
    const replay::RecordingLimits cases[] = {
        {300, replay::kMaxReplayStream, 64 * 1024},  // frames: exactly as many as allowed
        {replay::kMaxReplayFrames, 6000, 2000},      // the stream: never past the limit
    };
    for (const auto& limits : cases) {
        SCOPED_TRACE(limits.frames);
        restart();
        for (const char* name : {"korvex.set", "score-1.kvr"}) fs::remove(folder_ + "data/" + name);
        scriptAGameToTheTable();
        replay::limitRecording(limits);
        EXPECT_EQ(korvexMain(), 0);
        replay::limitRecording({});
        const std::string recorded = file("last.kvr");
        EXPECT_EQ(file("score-1.kvr"), recorded);  // kept with the high score as any recording
        Replay replay;
        std::string error;
        ASSERT_TRUE(replay::decodeReplay(recorded, &replay, &error)) << error;
        EXPECT_TRUE(replay.cut);
        EXPECT_GT(replay.end.lives, 0);  // the game went on to its end unrecorded
        std::uint32_t stream = 0;
        std::memcpy(&stream, recorded.data() + 8, 4);  // as the header says, little-endian here
        EXPECT_LE(stream, limits.streamBytes);
        EXPECT_LE(replay.frames.size(), limits.frames);
        EXPECT_TRUE(replay.frames.size() == limits.frames || stream + limits.headroom > limits.streamBytes);

        restart();
        Options verify;
        verify.verifyFile = folder_ + "data/last.kvr";
        testing::internal::CaptureStdout();
        EXPECT_EQ(korvexMain(verify), 0);
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  replay::replayVerdict(replay.end.score, replay.end.level, replay.end.lives,
                                        static_cast<std::uint32_t>(replay.frames.size()), true, 0, true) +
                      "\n");
    }
}

TEST_F(RecordedGame, HostileRecordingsAreRefusedBeforeAnythingIsPlayed) {
    Replay golden;
    std::string error;
    ASSERT_TRUE(
        replay::readReplayFile(KORVEX_SOURCE_DIR "/tests/replays/menu-resume-quit.kvr", &golden, &error));
    // A damaged file, or (null spoil) a carried field at `index` in carriedState() set to `value`.
    // clang-format off
    const struct { const char* what; void (*spoil)(Replay&); int index; std::int32_t value; } cases[] = {
        {"a key event past the last key", [](Replay& r) { r.frames[5].event = {SDL_KEYDOWN, 0, 1, 0, 0, 0xffff, 0};
                                                          r.frames[5].hasEvent = true; }, 0, 0},
        {"a held key past the last key", [](Replay& r) { r.keyChanges[0].key = SDLK_LAST; }, 0, 0},
        {"play without a frame", [](Replay& r) { r.segments.insert(r.segments.begin(), r.segments[0]); }, 0, 0},
        {"more frames than a recording may hold", [](Replay& r) { r.frames.resize(1500001); }, 0, 0},
        {"hurry neither on nor off", nullptr, 0, 2},
        {"a negative last draw", nullptr, 1, -1},
        {"a fire chance below nothing", nullptr, 2, INT32_MIN},
        {"a fire chance past its draws", nullptr, 2, 501},
        {"a fire counter that never comes round", nullptr, 50, INT32_MAX},
        {"a ship moving neither way nor not", nullptr, 52, -1},
        {"a ship frame past its strip", nullptr, 53, 4},
        {"a ship that cannot move", nullptr, 54, 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        restart();
        Replay hostile = golden;
        if (c.spoil) c.spoil(hostile);
        for (int i = 0; !c.spoil && i < 4; ++i)
            hostile.carried[4 * c.index + i] = static_cast<char>(c.value >> (8 * i));
        testing_support::writeFile(folder_ + "data/hostile.kvr", replay::encodeReplay(hostile));
        Options verify;
        verify.verifyFile = folder_ + "data/hostile.kvr";
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        EXPECT_EQ(korvexMain(verify), 2) << c.what;
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << c.what;  // nothing played to a verdict
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(c.spoil ? ": the recording is damaged\n" : "start state is damaged"),
                  std::string::npos)
            << c.what << ": " << said;
    }
}

TEST_F(RecordedGame, WithoutAPlayerFolderNothingIsWrittenAnywhereAndTheGameSaysSoOnce) {
    // Installed, for a user with no home: the current folder is where relative names would land.
    fs::create_directories(folder_ + "share");
    fs::rename(folder_ + "data", folder_ + "share/korvex");
    script::setProgramPath(folder_ + "bin/korvex");
    testing_support::writeFile(folder_ + "korvex.conf", "scale = 2\n");  // not the player's: taps would miss
    const auto before = tree(folder_);
    const fs::path cwd = fs::current_path();
    fs::current_path(folder_);
    scriptAGameToTheTable();
    script::answerMessageBoxes(platform::MessageAnswer::Ok);  // the name cannot be saved
    testing::internal::CaptureStderr();
    EXPECT_EQ(korvexMain(), 0);
    const std::string said = testing::internal::GetCapturedStderr();
    fs::current_path(cwd);
    EXPECT_GT(settings.highScores[0], 0) << said;  // the game was played to the table
    EXPECT_EQ(tree(folder_), before);
    EXPECT_EQ(said,
              "korvex: no home folder is known: settings, preferences and recorded games are not kept\n");
}

}  // namespace
