// Verifying recordings given as bytes, many in one process as a verifying service does; and what the
// replay commands and the recorder say going where a player sees it.
#include "replay/verify.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/script/script.h"
#include "replay/recorder.h"
#include "shell/command_line.h"
#include "shell/startup.h"
#include "support/test_support.h"

namespace {

class Verifier : public testing_support::SdlTest {
  protected:
    void SetUp() override {
        SdlTest::SetUp();
        installGameData();
        std::string error;
        ASSERT_TRUE(replay::prepareVerifier(&error)) << error;
    }
};

std::string golden(const std::string& name, const char* ext) {
    return testing_support::readFile(KORVEX_SOURCE_DIR "/tests/replays/" + name + ext);
}

TEST_F(Verifier, GoldenReplaysOneAfterAnotherInOneProcessEachEndAsRecorded) {
    const struct {
        const char* name;
        replay::GameEnd end;
        std::int32_t difficulty;
    } cases[] = {
        {"hard-careless", replay::GameEnd::Lost, 2},
        {"menu-resume-quit", replay::GameEnd::Quit, 1},
        {"easy-long-wrap", replay::GameEnd::Lost, 0},  // the swarm reached the ship's row
        {"hard-careless", replay::GameEnd::Lost, 2},   // again, after the others
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const replay::VerifyOutcome o = replay::verifyRecording(golden(c.name, ".kvr"));
        EXPECT_EQ(o.refusal, "");
        EXPECT_TRUE(o.verified);
        EXPECT_EQ(o.line + "\n", golden(c.name, ".expected"));
        EXPECT_EQ(o.mismatchFrame, -1);
        const std::string fields = "score " + std::to_string(o.score) + " level " + std::to_string(o.level) +
                                   " lives " + std::to_string(o.lives) + " frames " +
                                   std::to_string(o.frames) + " ok";
        EXPECT_EQ(fields, o.line);
        EXPECT_EQ(o.end, c.end);
        EXPECT_EQ(o.difficulty, c.difficulty);
        EXPECT_EQ(o.rulesVersion, 1);
    }
}

TEST_F(Verifier, BytesThatCannotBePlayedAreRefusedWithTheirReason) {
    std::string otherRules = golden("hard", ".kvr");
    otherRules[6] = 9;
    replay::Replay spoiled;
    std::string error;
    ASSERT_TRUE(replay::decodeReplay(golden("hard", ".kvr"), &spoiled, &error));
    spoiled.carried[0] = 2;  // hurry neither on nor off
    std::string lateEnd = golden("hard", ".kvr");
    lateEnd[lateEnd.size() - 20] ^= 1;  // the recorded end score
    const struct {
        std::string bytes, refusal;
        bool verified;
    } cases[] = {
        {"KVR", "not a recorded game", false},
        {otherRules, "recorded under rules 9; this korvex plays rules 1", false},
        {replay::encodeReplay(spoiled), "the recording's start state is damaged", false},
        {lateEnd, "", false},
    };
    for (const auto& c : cases) {
        const replay::VerifyOutcome o = replay::verifyRecording(c.bytes);
        EXPECT_EQ(o.refusal, c.refusal);
        EXPECT_EQ(o.verified, c.verified);
        EXPECT_EQ(o.line.empty(), !c.refusal.empty()) << o.line;
    }
    const replay::VerifyOutcome o = replay::verifyRecording(lateEnd);
    EXPECT_EQ(o.line, "score 218 level 5 lives 0 frames 3603 MISMATCH at frame 3603");
    EXPECT_EQ(o.mismatchFrame, 3603);
}

// A Windows player has no standard error, so these go through reportText.
TEST_F(Verifier, ReplayRefusalsAndTheRecordersTroubleAreReportedAsErrors) {
    Options watch;
    watch.replayFile = folder_ + "missing.kvr";
    testing::internal::CaptureStderr();
    EXPECT_EQ(korvexMain(watch), 2);
    replay::recordGames(folder_ + "not-a-folder/",
                        replay::WorldProbe{1,
                                           [](std::int32_t* a, std::int32_t* b, std::int32_t* c,
                                              std::int32_t* d) { *a = *b = *c = *d = 0; },
                                           [] { return std::string(); }, [] { return 0u; }});
    testing_support::writeFile(folder_ + "not-a-folder", "a file");
    replay::beginGame();
    platform::beginPlay();
    SDL_Event event;
    platform::pollEvent(&event);
    platform::endPlay();
    replay::endGame();
    replay::stopRecording();
    testing::internal::GetCapturedStderr();
    const std::vector<std::string> expected = {
        "korvex: cannot open " + folder_ + "missing.kvr\n",
        "korvex: cannot keep the recording in " + folder_ + "not-a-folder/last.kvr\n"};
    EXPECT_EQ(platform::script::errorsReported(), expected);
}

}  // namespace
