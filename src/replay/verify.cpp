// Verifying recorded games, for --verify and for programs that verify many in one process.
#include "replay/verify.h"

#include <utility>

#include "game/world_state.h"
#include "persist/settings.h"
#include "replay/replay_run.h"
#include "shell/shell.h"
#include "shell/window_choice.h"

namespace replay {

VerifyOutcome verifyRecording(const std::string& bytes) {
    Replay replay;
    VerifyOutcome outcome;
    if (!decodeReplay(bytes, &replay, &outcome.refusal)) return outcome;
    if (replay.rulesVersion != kRulesVersion) {
        outcome.rulesVersion = replay.rulesVersion;
        outcome.refusal = "recorded under rules " + std::to_string(replay.rulesVersion) +
                          "; this korvex plays rules " + std::to_string(kRulesVersion);
        return outcome;
    }
    return verifyReplay(std::move(replay));
}

VerifyOutcome verifyReplay(Replay replay) {
    VerifyOutcome outcome;
    outcome.rulesVersion = replay.rulesVersion;
    outcome.difficulty = replay.start.difficulty;
    // Verifying reads nothing of a player's: the settings a fresh process starts with, without sound.
    const Settings kept = settings;
    settings = Settings{};
    settings.soundOn = 0;
    PlayedRecording played;
    const bool started = playRecording(std::move(replay), 0, &played);
    settings = kept;
    if (!started) {
        outcome.refusal = "the recording's start state is damaged";
        return outcome;
    }
    outcome.stopped = played.playback.stopped;
    outcome.verified = played.matches && !outcome.stopped;
    outcome.score = played.reached.score;
    outcome.level = played.reached.level + 1;
    outcome.lives = played.reached.lives;
    outcome.frames = played.playback.frames;
    outcome.end = played.end;
    outcome.mismatchFrame = played.mismatchFrame;
    outcome.line = replayVerdict(played.reached.score, played.reached.level, played.reached.lives,
                                 played.playback.frames, played.matches, played.mismatchFrame, played.cut);
    return outcome;
}

bool prepareVerifier(std::string* error) {
    if (dataDir.empty()) findDirectories();
    SDL_putenv(const_cast<char*>("SDL_VIDEODRIVER=dummy"));  // headless
    if (!platform::startVideo()) {
        *error = std::string("cannot start the video system: ") + SDL_GetError();
        return false;
    }
    Options verify;
    verify.verifyFile = "-";  // the window as --verify opens it, reading nothing of the player's
    std::string reason;
    screen = openGameWindow(verify, "KORVEX", &reason);
    if (!screen) {
        *error = "cannot open the game's surface: " + reason;
        return false;
    }
    return loadReplayData(error);
}

}  // namespace replay
