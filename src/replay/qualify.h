// Whether a recorded game that replays as recorded may enter a public table: played to its end,
// from a start the game really reaches, on a clock that behaves like one.
#pragma once

#include <string>

#include "replay/replay_file.h"
#include "replay/verify.h"

namespace replay {

// The reason a player reads when `recording` (with `outcome`, its verification) cannot enter the
// table; empty when it can. Touches the game's globals only to read the carried state, and puts them
// back.
std::string qualifyRefusal(const Replay& recording, const VerifyOutcome& outcome);

// The clock checks alone: readings never go back, and between two frames at least one frame pause
// per frame passes.
std::string clockRefusal(const Replay& recording);

}  // namespace replay
