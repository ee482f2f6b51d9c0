// Recorded games at the program's level. Playback runs the levels as the game flow does, without
// menus, game-over picture or name entry: a recorded game goes from its set-up to its last frame.
#include "shell/replay_run.h"

#include <cstdio>
#include <utility>

#include "game/game_frame.h"
#include "game/world_state.h"
#include "persist/settings.h"
#include "platform/recorder.h"
#include "resources/images.h"
#include "resources/pack_reader.h"
#include "shell/game_flow.h"
#include "shell/shell.h"

namespace {

void readState(std::int32_t* level, std::int32_t* lives, std::int32_t* score, std::int32_t* difficulty) {
    *level = levelCounter;
    *lives = player.lives;
    *score = player.score;
    *difficulty = settings.difficulty;
}

// The levels, as the game flow runs them, until the recording is played out or the viewer stops it.
void playLevels() {
    for (;;) {
        const int result = runLevel();
        if (platform::replay::stopRequested() || !platform::replay::framesLeft()) return;
        if (result == kLevelCleared) {
            if (++levelCounter == kLevelCount) levelCounter = 0;
            settings.difficulty = static_cast<std::int16_t>(platform::replay::difficulty());
            setupLevel(static_cast<std::int16_t>(levelCounter));
        } else if (result != kLevelMenu) {
            return;  // lost, or quit: the recorded game ended here
        }
        // The menu asked for: the recorded player resumed, so the level goes on.
    }
}

}  // namespace

platform::WorldProbe worldProbe() {
    platform::WorldProbe probe;
    probe.rulesVersion = kRulesVersion;
    probe.state = readState;
    probe.carried = carriedState;
    probe.checksum = worldChecksum;
    return probe;
}

void startRecordingGames() {
    if (havePlayerFolder()) platform::recordGames(playerDir, worldProbe());
}

void stopRecordingGames() {
    platform::replay::stopRecording();
}

bool wantsReplay(const Options& options) {
    return !options.replayFile.empty() || !options.verifyFile.empty();
}

bool loadReplay(const Options& options, platform::Replay* replay) {
    const std::string& path = options.verifyFile.empty() ? options.replayFile : options.verifyFile;
    std::string error;
    if (!platform::readReplayFile(path, replay, &error)) {
        std::fprintf(stderr, "korvex: %s\n", error.c_str());
        return false;
    }
    if (replay->rulesVersion != kRulesVersion) {
        std::fprintf(stderr, "korvex: %s was recorded under rules %d; this korvex plays rules %d\n",
                     path.c_str(), replay->rulesVersion, kRulesVersion);
        return false;
    }
    return true;
}

std::string replayVerdict(std::int32_t score, std::int32_t level, std::int32_t lives, std::uint32_t frames,
                          bool matches, std::int64_t mismatchFrame, bool cut) {
    char line[160];
    std::snprintf(line, sizeof line, "score %d level %d lives %d frames %u ", static_cast<int>(score),
                  static_cast<int>(level) + 1, static_cast<int>(lives), static_cast<unsigned>(frames));
    std::string verdict = line;
    verdict += matches ? "ok" : "MISMATCH at frame " + std::to_string(mismatchFrame);
    return cut ? verdict + " (the recording ends here, at its length limit; the game went on)" : verdict;
}

int runReplay(const Options& options, platform::Replay replay) {
    // What the recorded game carried over from the games before it goes back first.
    if (!restoreCarriedState(replay.carried)) {
        std::fprintf(stderr, "korvex: the recording's start state is damaged\n");
        return 2;
    }
    const bool verifying = !options.verifyFile.empty();
    const Settings kept = settings;
    if (verifying) settings.soundOn = 0;
    settings.difficulty = static_cast<std::int16_t>(replay.start.difficulty);
    // The recording itself moves into playback: only its end is kept here to compare.
    const std::size_t frames = replay.frames.size();
    const platform::GameSummary end = replay.end;
    const std::uint32_t expectedChecksum = replay.endChecksum;
    const bool cut = replay.cut;
    platform::replay::startPlayback(std::move(replay), worldProbe(), verifying ? 0 : options.speed);
    startNewGame();  // as the game flow starts it, now on the recorded clock
    playLevels();
    platform::GameSummary reached = {levelCounter, player.lives, player.score, 0};
    std::uint32_t endChecksum = worldChecksum();
    const platform::replay::Outcome outcome = platform::replay::stopPlayback();
    if (cut && outcome.pastEnd) {  // the recorded game went on: its recording ends where it asked for more
        reached = outcome.end;
        endChecksum = outcome.endChecksum;
    }
    const bool endMatches = outcome.frames == frames && reached.score == end.score &&
                            reached.level == end.level && reached.lives == end.lives &&
                            endChecksum == expectedChecksum;
    const bool matches = outcome.firstMismatch < 0 && endMatches;
    // Where no checksum differed, the end itself did.
    const std::int64_t mismatchFrame = outcome.firstMismatch >= 0 ? outcome.firstMismatch : outcome.frames;
    settings = kept;
    if (outcome.stopped) return 0;  // the viewer stopped watching
    std::printf("%s\n", replayVerdict(reached.score, reached.level, reached.lives, outcome.frames, matches,
                                      mismatchFrame, cut)
                            .c_str());
    return matches || !verifying ? 0 : 1;
}

int runReplayCommand(const Options& options, platform::Replay replay) {
    // Watching plays sounds as the player's settings say; verifying reads nothing of the player's.
    if (options.verifyFile.empty()) loadSettings(settings);
    packReader();
    std::string error;
    if (!loadImages(&error)) {
        std::fprintf(stderr, "korvex: %s\n", error.c_str());
        return 2;
    }
    setUpText();
    return runReplay(options, std::move(replay));
}
