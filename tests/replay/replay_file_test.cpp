// The recorded game's file: what the recorder writes reads back the same; anything else is refused
// with a reason, never read past its end.
#include "replay/replay_file.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "platform/script/script.h"
#include "support/test_support.h"

using namespace platform;
using namespace replay;

namespace {

// Two stretches of play with a set-up before each, events, held keys and a checksum.
Replay sampleReplay() {
    Replay r;
    r.rulesVersion = 7;
    r.start = {3, 2, 150, 1};
    r.carried = std::string("\x01\x00\xff", 3);
    r.readings = {100, 100, 90, 5000000, 5000050, 7, 8, 9};
    r.keyChanges = {{276, 1}, {276, 0}};
    ReplayFrame quiet;
    quiet.readingsBegin = 2;
    quiet.readingsEnd = 4;
    ReplayFrame keyed;
    keyed.hasEvent = true;
    keyed.event = {SDL_KEYDOWN, 0, SDL_PRESSED, 0, 0, 276, 0};
    keyed.readingsBegin = keyed.readingsEnd = 4;
    keyed.keysEnd = 1;
    ReplayFrame tapped;
    tapped.hasEvent = true;
    tapped.event = {SDL_MOUSEBUTTONDOWN, 1, SDL_PRESSED, 110, 283, 0, 0};
    tapped.checked = true;
    tapped.checksum = 0xdeadbeef;
    tapped.readingsBegin = 6;
    tapped.readingsEnd = 7;
    tapped.keysBegin = 1;
    tapped.keysEnd = 2;
    r.frames = {quiet, keyed, tapped};
    r.segments = {{1, 0, 2, 0}, {2, 4, 6, 2}};
    r.trailingReadingsBegin = 7;
    r.end = {4, 0, 321, 0};
    r.endChecksum = 42;
    return r;
}

std::string sampleBytes() {
    return encodeReplay(sampleReplay());
}

// A scratch folder, removed however the test ends.
struct ScratchFolder {
    std::string path = testing_support::makeScratchFolder() + "/";
    ~ScratchFolder() { std::filesystem::remove_all(path); }
};

void put32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}

TEST(ReplayFile, WhatTheRecorderWritesReadsBackTheSame) {
    const Replay in = sampleReplay();
    Replay out;
    std::string error;
    ASSERT_TRUE(decodeReplay(encodeReplay(in), &out, &error)) << error;
    EXPECT_EQ(out.rulesVersion, 7);
    EXPECT_EQ(out.start.level, 3);
    EXPECT_EQ(out.start.lives, 2);
    EXPECT_EQ(out.start.score, 150);
    EXPECT_EQ(out.start.difficulty, 1);
    EXPECT_EQ(out.carried, in.carried);
    EXPECT_EQ(out.readings, in.readings);
    ASSERT_EQ(out.keyChanges.size(), 2u);
    EXPECT_EQ(out.keyChanges[1].key, 276);
    EXPECT_EQ(out.keyChanges[1].held, 0);
    ASSERT_EQ(out.frames.size(), 3u);
    for (std::size_t f = 0; f < 3; ++f) {
        const ReplayFrame &a = in.frames[f], &b = out.frames[f];
        EXPECT_EQ(b.hasEvent, a.hasEvent);
        EXPECT_EQ(b.event.type, a.event.type);
        EXPECT_EQ(b.event.button, a.event.button);
        EXPECT_EQ(b.event.x, a.event.x);
        EXPECT_EQ(b.event.y, a.event.y);
        EXPECT_EQ(b.event.key, a.event.key);
        EXPECT_EQ(b.checked, a.checked);
        EXPECT_EQ(b.checksum, a.checksum);
        EXPECT_EQ(b.readingsBegin, a.readingsBegin);
        EXPECT_EQ(b.readingsEnd, a.readingsEnd);
        EXPECT_EQ(b.keysBegin, a.keysBegin);
        EXPECT_EQ(b.keysEnd, a.keysEnd);
    }
    ASSERT_EQ(out.segments.size(), 2u);
    for (std::size_t s = 0; s < 2; ++s) {
        EXPECT_EQ(out.segments[s].difficulty, in.segments[s].difficulty);
        EXPECT_EQ(out.segments[s].gapReadingsBegin, in.segments[s].gapReadingsBegin);
        EXPECT_EQ(out.segments[s].gapReadingsEnd, in.segments[s].gapReadingsEnd);
        EXPECT_EQ(out.segments[s].framesBegin, in.segments[s].framesBegin);
    }
    EXPECT_EQ(out.trailingReadingsBegin, 7u);
    EXPECT_EQ(out.end.score, 321);
    EXPECT_EQ(out.end.level, 4);
    EXPECT_EQ(out.end.lives, 0);
    EXPECT_EQ(out.endChecksum, 42u);
}

TEST(ReplayFile, EmptyForeignFutureAndDamagedFilesAreRefusedWithAReason) {
    const std::string good = sampleBytes();
    const std::size_t trailer = good.size() - 20;
    struct Case {
        const char* what;
        std::string bytes;
        const char* reason;
    };
    std::string futureFormat = good, wrongMagic = good, packedTooLong = good, streamTooLong = good,
                hugeStream = good, moreFrames = good, flipped = good, longer = good + "x";
    futureFormat[4] = 2;
    wrongMagic[0] = 'X';
    put32(packedTooLong, 12, static_cast<std::uint32_t>(good.size()));
    put32(streamTooLong, 8, 1000);
    put32(hugeStream, 8, 0xffffffffu);
    put32(moreFrames, trailer + 12, 4);
    flipped[20] = static_cast<char>(flipped[20] ^ 0x55);
    const Case cases[] = {
        {"empty", "", "not a recorded game"},
        {"wrong magic", wrongMagic, "not a recorded game"},
        {"magic only", good.substr(0, 4), "cut short"},
        {"future format", futureFormat, "format 2"},
        {"compressed part promises more than the file holds", packedTooLong, "damaged"},
        {"stream promises more than it unpacks to", streamTooLong, "damaged"},
        {"stream of four gigabytes", hugeStream, "damaged"},
        {"more frames claimed than recorded", moreFrames, "frame count"},
        {"a damaged byte", flipped, "damaged"},
        {"a byte too many", longer, "damaged"},
    };
    for (const Case& c : cases) {
        Replay replay;
        std::string error;
        EXPECT_FALSE(decodeReplay(c.bytes, &replay, &error)) << c.what;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << c.what;
    }
    // Cut at every length.
    for (std::size_t length = 0; length < good.size(); ++length) {
        Replay replay;
        std::string error;
        EXPECT_FALSE(decodeReplay(good.substr(0, length), &replay, &error)) << "cut at " << length;
    }
}

TEST(ReplayFile, FoldersMissingAndOversizedFilesAreRefusedAndAWholeFileReadsBack) {
    namespace fs = std::filesystem;
    const ScratchFolder scratch;
    const std::string& folder = scratch.path;
    Replay replay;
    std::string error;
    EXPECT_FALSE(readReplayFile(folder, &replay, &error));
    EXPECT_NE(error.find("not a file"), std::string::npos) << error;
    EXPECT_FALSE(readReplayFile(folder + "none.kvr", &replay, &error));
    EXPECT_NE(error.find("cannot open"), std::string::npos) << error;
    ASSERT_TRUE(replaceFile(folder + "big.kvr", std::string(9u << 20, 'K')));
    EXPECT_FALSE(readReplayFile(folder + "big.kvr", &replay, &error));
    EXPECT_NE(error.find("too large"), std::string::npos) << error;
    ASSERT_TRUE(replaceFile(folder + "good.kvr", sampleBytes()));
    EXPECT_TRUE(readReplayFile(folder + "good.kvr", &replay, &error)) << error;
    EXPECT_EQ(replay.end.score, 321);
    EXPECT_FALSE(fs::exists(folder + "good.kvr.new"));
    // Nothing is written where the folder is missing, and no temporary file is left.
    EXPECT_FALSE(replaceFile(folder + "no/such.kvr", "x"));
}

}  // namespace
