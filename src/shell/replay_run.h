// Recorded games at the program's level: recording every game of a normal run, and the --replay
// and --verify commands.
#pragma once

#include <string>

#include "platform/platform.h"
#include "platform/replay_file.h"
#include "shell/options.h"

// How the recorder reads this game's world.
platform::WorldProbe worldProbe();

// A normal run: every game is recorded into playerDir, until stopRecordingGames; none without one.
void startRecordingGames();
void stopRecordingGames();

// --replay or --verify was asked for.
bool wantsReplay(const Options& options);

// Reads the file the options name; on failure prints the one-line reason on standard error.
bool loadReplay(const Options& options, platform::Replay* replay);

// Plays `replay` through the game's own levels (in the window at its pace for --replay, headless
// and without pauses for --verify), prints its one-line result and returns the exit code: 0 when
// it ended as recorded, 1 on a mismatch (verify only). Writes no file, asks for no name.
int runReplay(const Options& options, platform::Replay replay);

// Once the window is open: loads settings (read only, and only to watch), images and fonts as the game
// does, then runReplay. Exit code 2 when the game's packs cannot be loaded.
int runReplayCommand(const Options& options, platform::Replay replay);

// The one-line result: final score, level (as shown, from 1), lives, frames, then "ok", or
// "MISMATCH at frame N" with the first frame whose world differed from the recording; for a recording
// `cut` at its length limit, followed by where it ends.
std::string replayVerdict(std::int32_t score, std::int32_t level, std::int32_t lives, std::uint32_t frames,
                          bool matches, std::int64_t mismatchFrame, bool cut);
