// The recorder: an input layer over the devices (platform::setInputLayer) that the game never sees.
// Recording writes down what the devices hand the game during a game; playback hands the game what was
// written down instead, while still polling the devices so that the window and pause keep working.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "replay/replay_file.h"

namespace replay {

// What the recorder reads of the game, handed over at start-up so that the recorder needs no game header.
struct WorldProbe {
    std::uint16_t rulesVersion = 0;  // raised by every change of the rules that changes play
    void (*state)(std::int32_t* level, std::int32_t* lives, std::int32_t* score,
                  std::int32_t* difficulty) = nullptr;
    std::string (*carried)() = nullptr;     // the rest of what a new game starts from, as bytes
    std::uint32_t (*checksum)() = nullptr;  // a digest of the whole world
};

// --- Recording.

// Start-up of a normal run: every game from now on is recorded, and the last one kept as
// `folder` + "last.kvr".
void recordGames(const std::string& folder, const WorldProbe& probe);

// The game flow marks one game: begun as it is set up (before anything is reset), ended at
// game over or when the player leaves it (a new game, or quitting). A begin also ends the last one.
void beginGame();
void endGame();

// The game being recorded now (empty when none), for tests and the benchmark.
const Replay& currentRecording();
// Stops recording altogether (start-up's recordGames starts it).
void stopRecording();

// The folder recordings are kept in, and the file bytes of the last game kept there (empty when the
// last game was never played, or nothing is being recorded).
bool recording();
const std::string& recordingFolder();
const std::string& lastGameBytes();

// How far one game's recording may grow: the reader's limits, less `headroom` for what a frame and a
// level's set-up add between two of the recorder's looks. A game that reaches them goes on unrecorded,
// its recording kept up to there and marked as cut. Tests make them small.
struct RecordingLimits {
    std::size_t frames = kMaxReplayFrames;
    std::size_t streamBytes = kMaxReplayStream;
    std::size_t headroom = 64 * 1024;
};
void limitRecording(const RecordingLimits& limits);

// --- Playback, driven by --replay and --verify.

struct PlaybackOutcome {
    std::uint32_t frames = 0;         // frames handed to the game
    std::int64_t firstMismatch = -1;  // the first frame whose world checksum differed, or -1
    bool stopped = false;             // the viewer ended it (Escape or closing the window)
    bool pastEnd = false;             // the game asked for a frame past the last; the world then:
    GameSummary end;
    std::uint32_t endChecksum = 0;
};

// From now on the game gets `recording`'s clock, events and keys (the recording moves in: a long one
// is never held twice). `speed` divides every pause (1 to 16); 0 drops the pauses altogether. `probe`
// reads the world for the checksums.
void startPlayback(Replay recording, const WorldProbe& probe, int speed);
// Frames of the recording not yet handed to the game, and whether the viewer asked to stop.
bool framesLeft();
bool stopRequested();
// The difficulty the recorded player had when the stretch of play now running began.
std::int32_t difficulty();
// Ends playback (the devices speak again) and says how it went.
PlaybackOutcome stopPlayback();

}  // namespace replay
