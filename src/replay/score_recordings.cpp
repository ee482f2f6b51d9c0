// The high-score table's recordings move with its entries.
#include "replay/score_recordings.h"

#include <string>

#include "persist/player_files.h"
#include "persist/settings.h"
#include "platform/platform.h"
#include "replay/recorder.h"

namespace replay {
namespace {

std::string scoreFileName(int place) {
    return "score-" + std::to_string(place + 1) + ".kvr";
}

std::string scoreFile(int place) {
    return recordingFolder() + scoreFileName(place);
}

}  // namespace

void keepReplayAsScore(int place) {
    if (!recording() || place < 0 || place >= kHighScoreCount) return;
    for (int k = kHighScoreCount - 1; k > place; --k) {
        // the last place's is dropped; a place that had no recording passes that on too
        if (!platform::moveFile(scoreFile(k - 1), scoreFile(k))) platform::removeFile(scoreFile(k));
    }
    platform::removeFile(scoreFile(place));
    if (!lastGameBytes().empty()) saveFileIn(recordingFolder(), scoreFileName(place), lastGameBytes());
}

void dropScoreReplays() {
    if (!recording()) return;
    for (int k = 0; k < kHighScoreCount; ++k) platform::removeFile(scoreFile(k));
}

}  // namespace replay
