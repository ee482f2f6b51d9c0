// Recorded games at the program's level. Playback runs the levels as the game flow does, without
// menus, game-over picture or name entry: a recorded game goes from its set-up to its last frame.
#include "replay/replay_run.h"

#include <cstdio>
#include <utility>

#include "game/game_frame.h"
#include "game/world_state.h"
#include "persist/player_files.h"
#include "persist/settings.h"
#include "platform/platform.h"
#include "resources/images.h"
#include "resources/pack_reader.h"
#include "shell/game_flow.h"

namespace replay {
namespace {

void readState(std::int32_t* level, std::int32_t* lives, std::int32_t* score, std::int32_t* difficulty) {
    *level = levelCounter;
    *lives = player.lives;
    *score = player.score;
    *difficulty = settings.difficulty;
}

// The levels, as the game flow runs them, until the recording is played out or the viewer stops it;
// the last level's result.
int playLevels() {
    for (;;) {
        const int result = runLevel();
        if (stopRequested() || !framesLeft()) return result;
        if (result == kLevelCleared) {
            const std::int16_t next = nextLevel();
            settings.difficulty = static_cast<std::int16_t>(difficulty());
            setupLevel(next);
        } else if (result != kLevelMenu) {
            return result;  // lost, or quit: the recorded game ended here
        }
        // The menu asked for: the recorded player resumed, so the level goes on.
    }
}

}  // namespace

WorldProbe worldProbe() {
    WorldProbe probe;
    probe.rulesVersion = kRulesVersion;
    probe.state = readState;
    probe.carried = carriedState;
    probe.checksum = worldChecksum;
    return probe;
}

void startRecordingGames() {
    if (havePlayerFolder()) recordGames(playerDir, worldProbe());
}

void stopRecordingGames() {
    stopRecording();
}

bool wantsReplay(const Options& options) {
    return !options.replayFile.empty() || !options.verifyFile.empty();
}

bool loadReplay(const Options& options, Replay* replay, std::string* bytes) {
    const bool verifying = !options.verifyFile.empty();
    const std::string& path = verifying ? options.verifyFile : options.replayFile;
    std::string error;
    if (!readRecordingFile(path, bytes, &error)) {
        platform::reportText("korvex: " + error + "\n", true);
        return false;
    }
    if (!decodeReplay(*bytes, replay, &error)) {
        platform::reportText("korvex: " + path + ": " + error + "\n", true);
        return false;
    }
    if (replay->rulesVersion != kRulesVersion) {
        platform::reportText("korvex: " + path + " was recorded under rules " +
                                 std::to_string(replay->rulesVersion) + "; this korvex plays rules " +
                                 std::to_string(kRulesVersion) + "\n",
                             true);
        return false;
    }
    if (verifying) {
        *replay = Replay{};
    } else {
        bytes->clear();
    }
    return true;
}

bool playRecording(Replay replay, int speed, PlayedRecording* played) {
    // The world as a fresh process has it, then what the recorded game carried over from the games
    // before it.
    resetWorld();
    if (!restoreCarriedState(replay.carried)) return false;
    settings.difficulty = static_cast<std::int16_t>(replay.start.difficulty);
    // The recording itself moves into playback: only its end is kept here to compare.
    const std::size_t frames = replay.frames.size();
    const GameSummary end = replay.end;
    const std::uint32_t expectedChecksum = replay.endChecksum;
    played->cut = replay.cut;
    startPlayback(std::move(replay), worldProbe(), speed);
    startNewGame();  // as the game flow starts it, now on the recorded clock
    const int result = playLevels();
    GameSummary reached = {levelCounter, player.lives, player.score, 0};
    std::uint32_t endChecksum = worldChecksum();
    played->playback = stopPlayback();
    const PlaybackOutcome& outcome = played->playback;
    const bool cutHere = played->cut && outcome.pastEnd;
    if (cutHere) {  // the recorded game went on: its recording ends where it asked for more
        reached = outcome.end;
        endChecksum = outcome.endChecksum;
    }
    const bool endMatches = outcome.frames == frames && reached.score == end.score &&
                            reached.level == end.level && reached.lives == end.lives &&
                            endChecksum == expectedChecksum;
    played->reached = reached;
    played->matches = outcome.firstMismatch < 0 && endMatches;
    // Where no checksum differed, the end itself did.
    played->mismatchFrame = played->matches              ? -1
                            : outcome.firstMismatch >= 0 ? outcome.firstMismatch
                                                         : outcome.frames;
    played->end = cutHere ? GameEnd::Cut : result == kLevelLost ? GameEnd::Lost : GameEnd::Quit;
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

namespace {

// A verdict printed on standard output and its exit code; a refusal said as an error.
int reportVerdict(const VerifyOutcome& outcome) {
    if (!outcome.refusal.empty()) {
        platform::reportText("korvex: " + outcome.refusal + "\n", true);
        return 2;
    }
    if (outcome.stopped) return 0;  // ended from outside: no verdict
    std::printf("%s\n", outcome.line.c_str());
    return outcome.verified ? 0 : 1;
}

int watch(const Options& options, Replay replay) {
    const Settings kept = settings;
    PlayedRecording played;
    const bool started = playRecording(std::move(replay), options.speed, &played);
    settings = kept;
    if (!started) {
        platform::reportText("korvex: the recording's start state is damaged\n", true);
        return 2;
    }
    if (played.playback.stopped) return 0;  // the viewer stopped watching
    const GameSummary& r = played.reached;
    std::printf("%s\n", replayVerdict(r.score, r.level, r.lives, played.playback.frames, played.matches,
                                      played.mismatchFrame, played.cut)
                            .c_str());
    return 0;
}

}  // namespace

int runReplay(const Options& options, Replay replay) {
    if (options.verifyFile.empty()) return watch(options, std::move(replay));
    return reportVerdict(verifyReplay(std::move(replay)));
}

bool loadReplayData(std::string* error) {
    packReader();
    if (!loadImages(error)) return false;
    setUpText();
    return true;
}

int runReplayCommand(const Options& options, Replay replay, const std::string& bytes) {
    // Watching plays sounds as the player's settings say; verifying reads nothing of the player's.
    const bool verifying = !options.verifyFile.empty();
    if (!verifying) loadSettings(settings);
    std::string error;
    if (!loadReplayData(&error)) {
        platform::reportText("korvex: " + error + "\n", true);
        return 2;
    }
    if (verifying) return reportVerdict(verifyRecording(bytes));
    return watch(options, std::move(replay));
}

}  // namespace replay
