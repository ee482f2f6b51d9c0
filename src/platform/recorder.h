// The recording layer, closest to the game among the layers of events.cpp. Recording writes down
// what the layers below hand the game during a game; playback hands the game what was written down
// instead, while still polling the layers below so that the window and pause keep working.
#pragma once

#include "platform/platform.h"
#include "platform/replay_file.h"

namespace platform {

// What lies under the recorder (the pause, controls and window layers, then the build's own
// sources); defined in events.cpp.
namespace below {
std::uint32_t ticks();
void delay(std::uint32_t ms);
int pollEvent(SDL_Event* event);
int waitEvent(SDL_Event* event);
const Uint8* keyState();
}  // namespace below

// The layer itself, as events.cpp hands it every call of the game.
namespace recorder {
std::uint32_t ticks();
void delay(std::uint32_t ms);
int pollEvent(SDL_Event* event);
int waitEvent(SDL_Event* event);
const Uint8* keyState();
void beginPlay();
void endPlay();
}  // namespace recorder

// Playback, driven by the shell's --replay and --verify.
namespace replay {

struct Outcome {
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
Outcome stopPlayback();

// Recording, for tests and the benchmark: the game being recorded now (empty when none).
const Replay& currentRecording();
// Stops recording altogether (start-up's recordGames starts it).
void stopRecording();

// How far one game's recording may grow: the reader's limits, less `headroom` for what a frame and a
// level's set-up add between two of the recorder's looks. A game that reaches them goes on unrecorded,
// its recording kept up to there and marked as cut. Tests make them small.
struct RecordingLimits {
    std::size_t frames = kMaxReplayFrames;
    std::size_t streamBytes = kMaxReplayStream;
    std::size_t headroom = 64 * 1024;
};
void limitRecording(const RecordingLimits& limits);

}  // namespace replay
}  // namespace platform
