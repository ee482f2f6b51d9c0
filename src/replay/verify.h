// Verifying a recorded game: its bytes played headless through the game's own levels, and how it ended.
// `korvex --verify` prints the outcome's line; a program that verifies many recordings in one process
// calls prepareVerifier once, then verifyRecording for each.
#pragma once

#include <cstdint>
#include <string>

#include "replay/replay_file.h"

namespace replay {

// How a recorded game ended.
enum class GameEnd {
    Lost,  // game over: the ship lost, or the swarm reached the ship's row
    Quit,  // the player left it (the menu's new game or quit)
    Cut,   // the recording stopped at its length limit; the game itself went on
};

struct VerifyOutcome {
    bool verified = false;  // the replay reached the recorded end: the "ok" of --verify
    std::string refusal;    // non-empty when the bytes could not be played at all (damaged, other
                            // rules version, bad start state): the one-line reason
    std::int32_t score = 0;
    std::int32_t level = 0;  // as shown to the player, from 1
    std::int32_t lives = 0;
    std::uint32_t frames = 0;
    std::int32_t difficulty = 0;  // as the game started (0 easy, 1 medium, 2 hard, as the settings store it)
    GameEnd end = GameEnd::Lost;
    std::uint16_t rulesVersion = 0;   // of the recording
    std::int64_t mismatchFrame = -1;  // first frame whose world differed, -1 when none
    bool stopped = false;  // a quit came (SIGTERM, the window closed) before the end: nothing verified
    std::string line;      // the line `korvex --verify` prints (no newline); empty on refusal
};

// Plays a recording given as its file's bytes headlessly, as --verify does, and says how it ended.
// Needs prepareVerifier first; writes no file. Each call starts from the state a fresh process has.
VerifyOutcome verifyRecording(const std::string& bytes);

// The same for a recording already decoded (its rules version is not checked here).
VerifyOutcome verifyReplay(Replay replay);

// Once per process before verifyRecording: what --verify does before playing (SDL's dummy video, the
// packs, images and fonts). The data folder is found from the program's path unless `dataDir` is
// already set. False with `error` when the data cannot be loaded.
bool prepareVerifier(std::string* error);

}  // namespace replay
