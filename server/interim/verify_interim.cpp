// Verifying a recorded game in this process: the --verify command's steps without its printing.
// Interim, until the recorded-games subsystem offers this itself.
#include <SDL.h>

#include <utility>

#include "game/game_frame.h"
#include "game/world_state.h"
#include "persist/settings.h"
#include "platform/recorder.h"
#include "replay/verify.h"
#include "resources/images.h"
#include "resources/pack_reader.h"
#include "shell/game_flow.h"
#include "shell/replay_run.h"
#include "shell/shell.h"
#include "shell/window_choice.h"

namespace replay {

namespace {

// The levels as the game flow runs them; says how the recorded game ended.
GameEnd playLevels() {
    for (;;) {
        const int result = runLevel();
        if (result == kLevelLost) return GameEnd::Lost;
        // A recording runs out where its game ended; one cut short is told by its own mark.
        if (!platform::replay::framesLeft()) return GameEnd::Quit;
        if (result == kLevelCleared) {
            if (++levelCounter == kLevelCount) levelCounter = 0;
            settings.difficulty = static_cast<std::int16_t>(platform::replay::difficulty());
            setupLevel(static_cast<std::int16_t>(levelCounter));
        } else if (result != kLevelMenu) {
            return GameEnd::Quit;
        }
    }
}

}  // namespace

bool prepareVerifier(std::string* error) {
    findDirectories();
    playerDir.clear();  // a verifier reads nothing of a player's
    SDL_putenv(const_cast<char*>("SDL_VIDEODRIVER=dummy"));
    SDL_putenv(const_cast<char*>("SDL_AUDIODRIVER=dummy"));
    if (!platform::startVideo()) {
        *error = std::string("cannot start the video system: ") + SDL_GetError();
        return false;
    }
    Options options;
    options.verifyFile = "-";
    screen = openGameWindow(options, "KORVEX", error);
    if (!screen) return false;
    packReader();
    if (!loadImages(error)) return false;
    setUpText();
    settings.soundOn = 0;
    return true;
}

VerifyOutcome verifyRecording(const std::string& bytes) {
    VerifyOutcome out;
    platform::Replay recording;
    if (!platform::decodeReplay(bytes, &recording, &out.refusal)) return out;
    out.rulesVersion = recording.rulesVersion;
    if (recording.rulesVersion != kRulesVersion) {
        out.refusal = "recorded under rules " + std::to_string(recording.rulesVersion) +
                      "; this server plays rules " + std::to_string(kRulesVersion);
        return out;
    }
    if (!restoreCarriedState(recording.carried)) {
        out.refusal = "the recording's start state is damaged";
        return out;
    }
    out.difficulty = recording.start.difficulty;
    settings.difficulty = static_cast<std::int16_t>(recording.start.difficulty);
    const std::size_t frames = recording.frames.size();
    const platform::GameSummary end = recording.end;
    const std::uint32_t expectedChecksum = recording.endChecksum;
    const bool cut = recording.cut;
    platform::replay::startPlayback(std::move(recording), worldProbe(), 0);
    startNewGame();
    out.end = playLevels();
    platform::GameSummary reached = {levelCounter, player.lives, player.score, 0};
    std::uint32_t endChecksum = worldChecksum();
    const platform::replay::Outcome played = platform::replay::stopPlayback();
    if (cut) out.end = GameEnd::Cut;
    if (cut && played.pastEnd) {
        reached = played.end;
        endChecksum = played.endChecksum;
    }
    const bool endMatches = played.frames == frames && reached.score == end.score &&
                            reached.level == end.level && reached.lives == end.lives &&
                            endChecksum == expectedChecksum;
    out.verified = played.firstMismatch < 0 && endMatches;
    out.mismatchFrame = out.verified ? -1 : played.firstMismatch >= 0 ? played.firstMismatch : played.frames;
    out.score = reached.score;
    out.level = reached.level + 1;
    out.lives = reached.lives;
    out.frames = played.frames;
    out.line = replayVerdict(reached.score, reached.level, reached.lives, played.frames, out.verified,
                             out.verified ? 0 : out.mismatchFrame, cut);
    return out;
}

}  // namespace replay
