// The high-score table's recordings: "score-1.kvr" to "score-5.kvr" beside last.kvr, one for each place.
#pragma once

namespace replay {

// The last game's recording is kept as "score-N.kvr" for table place `place` (0 to 4), those below
// moving down one place and the fifth dropped; a reset removes them all. Nothing happens when no game
// is being recorded (a replay being watched).
void keepReplayAsScore(int place);
void dropScoreReplays();

}  // namespace replay
