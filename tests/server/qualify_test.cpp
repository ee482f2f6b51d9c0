// What a public table asks of a recording beyond replaying as recorded.
#include "replay/qualify.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

replay::Replay golden() {
    replay::Replay r;
    std::string error;
    EXPECT_TRUE(replay::readReplayFile(KORVEX_SOURCE_DIR "/tests/replays/medium.kvr", &r, &error)) << error;
    return r;
}

// The carried state's fields by their place from its end: the ship's speed, frame and moving flags.
void setCarried(replay::Replay& r, std::size_t fromEnd, std::int32_t value) {
    for (int i = 0; i < 4; ++i)
        r.carried[r.carried.size() - fromEnd + i] = static_cast<char>(value >> (8 * i));
}

TEST(Qualify, RefusesWhatARealGameNeverPlays) {
    using Change = std::function<void(replay::Replay&, replay::VerifyOutcome&)>;
    const struct {
        const char* what;
        Change change;
        const char* reason;  // empty: it qualifies
    } kCases[] = {
        {"as recorded", [](auto&, auto&) {}, ""},
        {"mismatch", [](auto&, auto& o) { o.verified = false; }, "does not replay"},
        {"quit", [](auto&, auto& o) { o.end = replay::GameEnd::Quit; }, "left before its end"},
        {"cut", [](auto&, auto& o) { o.end = replay::GameEnd::Cut; }, "length limit"},
        {"lives", [](auto& r, auto&) { r.start.lives = 4; }, "new game"},
        {"score", [](auto& r, auto&) { r.start.score = 1; }, "new game"},
        {"level", [](auto& r, auto&) { r.start.level = 1; }, "new game"},
        {"difficulty", [](auto& r, auto&) { r.start.difficulty = 3; }, "new game"},
        {"gift speed", [](auto& r, auto&) { setCarried(r, 4, 6); }, ""},
        {"odd speed", [](auto& r, auto&) { setCarried(r, 4, 5); }, "never reaches"},
        {"both ways", [](auto& r, auto&) { setCarried(r, 12, 1), setCarried(r, 16, 1); }, "never reaches"},
        {"last draw", [](auto& r, auto&) { r.carried[4] = static_cast<char>(243), r.carried[5] = 1; }, ""},
        {"draw past all", [](auto& r, auto&) { r.carried[4] = static_cast<char>(244), r.carried[5] = 1; },
         "never reaches"},
        {"damaged", [](auto& r, auto&) { r.carried.pop_back(); }, "never reaches"},
    };
    for (const auto& c : kCases) {
        replay::Replay r = golden();
        replay::VerifyOutcome o;
        o.verified = true;
        o.end = replay::GameEnd::Lost;
        c.change(r, o);
        const std::string refusal = replay::qualifyRefusal(r, o);
        if (*c.reason == '\0') {
            EXPECT_EQ(refusal, "") << c.what;
        } else {
            EXPECT_NE(refusal.find(c.reason), std::string::npos) << c.what << ": " << refusal;
        }
    }
}

TEST(Qualify, ClockNeverBackwardsNorFasterThanTheFramePause) {
    const struct {
        std::vector<std::uint32_t> readings;
        std::vector<std::pair<std::uint32_t, std::uint32_t>> frames;  // each frame's readings
        const char* reason;
    } kCases[] = {
        {{100, 150, 200}, {{0, 1}, {1, 2}, {2, 3}}, ""},
        {{100, 150, 199}, {{0, 1}, {1, 2}, {2, 3}}, "faster"},
        {{100, 100, 200}, {{0, 2}, {2, 2}, {2, 3}}, ""},  // a frame without readings still paused
        {{100, 100, 199}, {{0, 2}, {2, 2}, {2, 3}}, "faster"},
        {{100, 120, 170}, {{0, 2}, {2, 3}}, ""},  // from the frame's last reading on
        {{100, 120, 169}, {{0, 2}, {2, 3}}, "faster"},
        {{5, 100, 99}, {{1, 2}, {2, 3}}, "backwards"},
        {{100, 99}, {}, "backwards"},
    };
    for (const auto& c : kCases) {
        replay::Replay r;
        r.readings = c.readings;
        for (const auto& f : c.frames) {
            r.frames.emplace_back();
            r.frames.back().readingsBegin = f.first;
            r.frames.back().readingsEnd = f.second;
        }
        const std::string refusal = replay::clockRefusal(r);
        EXPECT_EQ(refusal.empty(), *c.reason == '\0') << refusal;
        EXPECT_NE(refusal.find(c.reason), std::string::npos) << refusal;
    }
}

}  // namespace
