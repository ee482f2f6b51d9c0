// What a public table asks of a recorded game beyond replaying as recorded.
#include "replay/qualify.h"

#include <cstdint>

#include "game/game_frame.h"
#include "game/world.h"
#include "game/world_state.h"

namespace replay {

namespace {

// What startNewGame sets, as play starts.
constexpr std::int32_t kStartLives = 3;
constexpr std::int32_t kHardest = 2;
// The ship's speeds: the start value, and the start value with the speed gift.
constexpr std::int16_t kShipSpeeds[] = {Player{}.speed, static_cast<std::int16_t>(Player{}.speed + 2)};
// Every draw is the low end of a range plus a share of it; the widest range is [0, 500).
constexpr std::int32_t kDrawLimit = 500;

std::string startRefusal(const Replay& recording) {
    const GameSummary& s = recording.start;
    if (s.level != 0 || s.lives != kStartLives || s.score != 0 || s.difficulty < 0 ||
        s.difficulty > kHardest) {
        return "the game does not start as a new game starts";
    }
    const std::string kept = carriedState();
    if (!restoreCarriedState(recording.carried)) return "the game starts from a state the game never reaches";
    bool speedKnown = false;
    for (std::int16_t speed : kShipSpeeds) speedKnown = speedKnown || player.speed == speed;
    // Every way the ship starts moving stops it moving the other way.
    const bool reached = speedKnown && lastRandom >= 0 && lastRandom < kDrawLimit &&
                         !(player.movingLeft && player.movingRight);
    restoreCarriedState(kept);
    return reached ? std::string() : "the game starts from a state the game never reaches";
}

}  // namespace

std::string clockRefusal(const Replay& recording) {
    const std::vector<std::uint32_t>& r = recording.readings;
    for (std::size_t i = 1; i < r.size(); ++i) {
        if (r[i] < r[i - 1]) return "the game's clock runs backwards";
    }
    // A frame's readings lie between its pauses: from the last reading of one frame to the first of a
    // later one, a pause per frame in between has passed.
    bool seen = false;
    std::size_t lastFrame = 0;
    std::uint32_t lastReading = 0;
    for (std::size_t f = 0; f < recording.frames.size(); ++f) {
        const ReplayFrame& frame = recording.frames[f];
        if (frame.readingsBegin >= frame.readingsEnd || frame.readingsEnd > r.size()) continue;
        const std::uint64_t least = std::uint64_t{kFrameDelayMs} * (f - lastFrame);
        if (seen && r[frame.readingsBegin] - std::uint64_t{lastReading} < least) {
            return "the game runs faster than the game's own clock allows";
        }
        seen = true;
        lastFrame = f;
        lastReading = r[frame.readingsEnd - 1];
    }
    return {};
}

std::string qualifyRefusal(const Replay& recording, const VerifyOutcome& outcome) {
    if (!outcome.verified) {
        return outcome.refusal.empty() ? "the recording does not replay as recorded (" + outcome.line + ")"
                                       : outcome.refusal;
    }
    if (outcome.end == GameEnd::Quit)
        return "the game was left before its end: only games played until the ship is lost enter the table";
    if (outcome.end == GameEnd::Cut) return "the recording stops at its length limit before the game ended";
    const std::string start = startRefusal(recording);
    return start.empty() ? clockRefusal(recording) : start;
}

}  // namespace replay
