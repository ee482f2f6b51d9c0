// Recorded games on the real program: a game played is kept as last.kvr and as its high score's
// replay; verifying and watching it replay the same game and write nothing, ask for nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "persist/settings.h"
#include "platform/recorder.h"
#include "platform/replay_file.h"
#include "platform/script/script.h"
#include "shell/options.h"
#include "shell/replay_run.h"
#include "shell/startup.h"
#include "support/test_support.h"

namespace fs = std::filesystem;
namespace script = platform::script;

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
    platform::Replay replay;
    std::string error;
    ASSERT_TRUE(platform::decodeReplay(recorded, &replay, &error)) << error;
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

// While it lives, every game recorded may grow only as far as `limits`.
struct LimitedRecordings {
    explicit LimitedRecordings(const platform::replay::RecordingLimits& limits) {
        platform::replay::limitRecording(limits);
    }
    ~LimitedRecordings() { platform::replay::limitRecording({}); }
};

TEST_F(RecordedGame, AGameLongerThanARecordingMayBeIsKeptUpToTheLimitAndVerifiedToThere) {
    const platform::replay::RecordingLimits cases[] = {
        {300, platform::kMaxReplayStream, 64 * 1024},  // frames: exactly as many as allowed
        {platform::kMaxReplayFrames, 6000, 2000},      // the stream: never past the limit
    };
    for (const auto& limits : cases) {
        SCOPED_TRACE(limits.frames);
        restart();
        for (const char* name : {"korvex.set", "last.kvr", "score-1.kvr"})
            fs::remove(folder_ + "data/" + name);
        scriptAGameToTheTable();
        {
            const LimitedRecordings limited(limits);
            ASSERT_EQ(korvexMain(), 0);
        }
        const std::string recorded = file("last.kvr");
        EXPECT_EQ(file("score-1.kvr"), recorded);  // kept with the high score as any recording
        platform::Replay replay;
        std::string error;
        ASSERT_TRUE(platform::decodeReplay(recorded, &replay, &error)) << error;
        EXPECT_TRUE(replay.cut);
        EXPECT_GT(replay.end.lives, 0);  // the game went on to its end unrecorded
        const std::size_t stream = static_cast<unsigned char>(recorded[8]) |
                                   static_cast<unsigned char>(recorded[9]) << 8 |
                                   static_cast<std::size_t>(static_cast<unsigned char>(recorded[10])) << 16;
        EXPECT_LE(stream, limits.streamBytes);
        EXPECT_LE(replay.frames.size(), limits.frames);
        EXPECT_TRUE(replay.frames.size() == limits.frames || stream + limits.headroom > limits.streamBytes)
            << "cut before its limits: " << replay.frames.size() << " frames, " << stream << " bytes";

        restart();
        Options verify;
        verify.verifyFile = folder_ + "data/last.kvr";
        testing::internal::CaptureStdout();
        EXPECT_EQ(korvexMain(verify), 0);
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  replayVerdict(replay.end.score, replay.end.level, replay.end.lives,
                                static_cast<std::uint32_t>(replay.frames.size()), true, 0, true) +
                      "\n");
    }
}

// A field of what a recorded game carries over, by its place in carriedState(), set to `value`.
void carry(platform::Replay& r, int index, std::int32_t value) {
    for (int i = 0; i < 4; ++i)
        r.carried[4 * index + i] = static_cast<char>(static_cast<std::uint32_t>(value) >> (8 * i));
}

TEST_F(RecordedGame, HostileRecordingsAreRefusedBeforeAnythingIsPlayed) {
    platform::Replay golden;
    std::string error;
    ASSERT_TRUE(
        platform::readReplayFile(KORVEX_SOURCE_DIR "/tests/replays/menu-resume-quit.kvr", &golden, &error));
    const std::string damaged = ": the recording is damaged\n",
                      startState = "the recording's start state is damaged";
    const struct {
        const char* what;
        void (*spoil)(platform::Replay&);
        const std::string& said;
    } cases[] = {
        {"a key event past the last key",
         [](platform::Replay& r) {
             r.frames[5].hasEvent = true;
             r.frames[5].event = {SDL_KEYDOWN, 0, SDL_PRESSED, 0, 0, 0xffff, 0};
         },
         damaged},
        {"a held key past the last key", [](platform::Replay& r) { r.keyChanges[0].key = SDLK_LAST; },
         damaged},
        {"a stretch of play without a frame",
         [](platform::Replay& r) { r.segments.insert(r.segments.begin() + 1, r.segments[1]); }, damaged},
        {"more frames than a recording may hold", [](platform::Replay& r) { r.frames.resize(1500001); },
         damaged},
        {"hurry neither on nor off", [](platform::Replay& r) { carry(r, 0, 2); }, startState},
        {"a negative last draw", [](platform::Replay& r) { carry(r, 1, -1); }, startState},
        {"a fire chance below nothing", [](platform::Replay& r) { carry(r, 2, INT32_MIN); }, startState},
        {"a fire chance past its draws", [](platform::Replay& r) { carry(r, 2, 501); }, startState},
        {"a fire counter that never comes round", [](platform::Replay& r) { carry(r, 50, INT32_MAX); },
         startState},
        {"a ship moving neither way nor not", [](platform::Replay& r) { carry(r, 52, -1); }, startState},
        {"a ship frame past its strip", [](platform::Replay& r) { carry(r, 53, 4); }, startState},
        {"a ship that cannot move", [](platform::Replay& r) { carry(r, 54, 0); }, startState},
    };
    for (const auto& c : cases) {
        restart();
        platform::Replay hostile = golden;
        c.spoil(hostile);
        testing_support::writeFile(folder_ + "data/hostile.kvr", platform::encodeReplay(hostile));
        Options verify;
        verify.verifyFile = folder_ + "data/hostile.kvr";
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        EXPECT_EQ(korvexMain(verify), 2) << c.what;
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << c.what;  // nothing played to a verdict
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(c.said), std::string::npos) << c.what << ": " << said;
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
