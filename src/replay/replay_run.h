// Recorded games at the program's level: recording every game of a normal run, and the --replay
// and --verify commands.
#pragma once

#include <cstdint>
#include <string>

#include "replay/recorder.h"
#include "replay/replay_file.h"
#include "replay/verify.h"
#include "shell/command_line.h"

namespace replay {

// How the recorder reads this game's world.
WorldProbe worldProbe();

// A normal run: every game is recorded into playerDir, until stopRecordingGames; none without one.
void startRecordingGames();
void stopRecordingGames();

// --replay or --verify was asked for.
bool wantsReplay(const Options& options);

// Reads the file the options name and checks that this game can play it; on failure reports the
// one-line reason as an error. For --verify only its `bytes` are kept (verifyRecording reads them);
// for --replay `replay` holds it decoded.
bool loadReplay(const Options& options, Replay* replay, std::string* bytes);

// How one played recording went.
struct PlayedRecording {
    PlaybackOutcome playback;
    GameSummary reached;              // the world where the recording ends
    bool matches = false;             // every checksum and the end as recorded
    std::int64_t mismatchFrame = -1;  // where it first differed, when it did
    GameEnd end = GameEnd::Lost;
    bool cut = false;  // recorded up to its length limit
};

// Plays `replay` through the game's own levels from the world a fresh process has and the start state
// the recording carries, at `speed` (0: no pauses); false, nothing played, when that state is damaged.
// The difficulty in `settings` is left as the recording last set it.
bool playRecording(Replay replay, int speed, PlayedRecording* played);

// Plays `replay` (in the window at its pace for --replay, headless and without pauses for --verify),
// prints its one-line result and returns the exit code: 0 when it ended as recorded, 1 on a mismatch
// (verify only), 2 for a damaged start state. Writes no file, asks for no name.
int runReplay(const Options& options, Replay replay);

// Once the window is open: loads settings (read only, and only to watch), images and fonts as the game
// does, then plays: --verify its `bytes`, --replay its `replay`. Exit code 2 when the game's packs cannot
// be loaded.
int runReplayCommand(const Options& options, Replay replay, const std::string& bytes);

// The packs, images and fonts a replay needs, as start-up loads them; false with `error` when they
// cannot be loaded.
bool loadReplayData(std::string* error);

// The one-line result: final score, level (as shown, from 1), lives, frames, then "ok", or
// "MISMATCH at frame N" with the first frame whose world differed from the recording; for a recording
// `cut` at its length limit, followed by where it ends.
std::string replayVerdict(std::int32_t score, std::int32_t level, std::int32_t lives, std::uint32_t frames,
                          bool matches, std::int64_t mismatchFrame, bool cut);

}  // namespace replay
