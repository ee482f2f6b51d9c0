// A recorded game: what the platform handed the game during it, how the game stood at its start and
// at its end, and the ".kvr" file that keeps it (zlib-compressed, bounds-checked when read).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace replay {

constexpr std::uint16_t kReplayFormatVersion = 1;
constexpr int kChecksumPeriod = 100;  // a world checksum is kept every 100th frame

// The reader's limits, which the recorder keeps to: what the record stream may unpack to (about fifteen
// hours of play) and how many frames it may hold; together they bound what reading can allocate.
constexpr std::size_t kMaxReplayStream = 16u << 20;
constexpr std::size_t kMaxReplayFrames = 1500000;

// One event as the game received it, with the fields the game can read.
struct RecordedEvent {
    std::uint8_t type = 0;
    std::uint8_t button = 0;  // mouse button; for a change of activity, whether it was gained
    std::uint8_t state = 0;   // the key's or button's state; for a change of activity, what changed
    std::uint16_t x = 0, y = 0;
    std::uint16_t key = 0, mod = 0;  // SDLKey and modifiers; xrel and yrel of a motion
};

struct KeyChange {
    std::uint16_t key;
    std::uint8_t held;
};

// One pass of the level loop: the event it polled, then the clock readings and held-key changes the
// frame made: the ranges [begin, end) of `readings` and `keyChanges`.
struct ReplayFrame {
    bool hasEvent = false;
    RecordedEvent event;
    std::uint32_t readingsBegin = 0, readingsEnd = 0;
    std::uint32_t keysBegin = 0, keysEnd = 0;
    bool checked = false;  // a checksum was taken as this frame began
    std::uint32_t checksum = 0;
};

// One stretch of play (a level, or a level resumed from the menu), and the clock readings the game
// made before it outside play (the level's set-up; menu readings are kept too but never asked for).
struct PlaySegment {
    std::int32_t difficulty = 0;  // as play began
    std::uint32_t gapReadingsBegin = 0, gapReadingsEnd = 0;
    std::uint32_t framesBegin = 0;  // its frames run to the next segment's framesBegin
};

struct GameSummary {
    std::int32_t level = 0, lives = 0, score = 0, difficulty = 0;
};

struct Replay {
    std::uint16_t rulesVersion = 0;
    GameSummary start;
    std::string carried;  // the rest of the game's start state, as the game wrote it
    std::vector<std::uint32_t> readings;
    std::vector<KeyChange> keyChanges;
    std::vector<ReplayFrame> frames;
    std::vector<PlaySegment> segments;
    std::uint32_t trailingReadingsBegin = 0;  // readings after the last stretch of play
    GameSummary end;                          // difficulty unused
    std::uint32_t endChecksum = 0;
    bool cut = false;  // the recorder stopped at the reader's limits here; the game itself went on
};

// The file's bytes, and back. decodeReplay refuses anything damaged, cut short, of another kind or of
// a later format with a one-line reason; it never allocates much more than the data really holds.
std::string encodeReplay(const Replay& replay);
bool decodeReplay(const std::string& bytes, Replay* replay, std::string* error);

// Reads a recording's file whole; a missing, unreadable or oversized file or a folder gives a reason
// that names it.
bool readRecordingFile(const std::string& path, std::string* bytes, std::string* error);

// Reads and decodes a file; a missing, unreadable or oversized file or a folder gives a reason.
bool readReplayFile(const std::string& path, Replay* replay, std::string* error);

// What each part of a game adds to the stream as encodeReplay writes it, for the recorder's count: the
// start (with the end marks), a clock reading after `previous`, a frame without its readings and keys,
// a key change, and a stretch of play around its frames.
std::size_t streamStartSize(const Replay& replay);
std::size_t readingSize(std::uint32_t previous, std::uint32_t reading);
std::size_t frameSize(const ReplayFrame& frame);
std::size_t keyChangeSize(const KeyChange& change);
std::size_t segmentSize(std::int32_t difficulty);

}  // namespace replay
