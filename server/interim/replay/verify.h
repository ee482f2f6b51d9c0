// Verifying a recorded game in this process, as `korvex --verify` does, with a structured outcome.
// Interim: the recorded-games subsystem takes this over; the worker is written against it.
#pragma once

#include <cstdint>
#include <string>

namespace replay {

enum class GameEnd { Lost, Quit, Cut };

struct VerifyOutcome {
    bool verified = false;
    std::string refusal;  // why the bytes could not be played at all
    std::int32_t score = 0, level = 0 /* from 1 */, lives = 0;
    std::uint32_t frames = 0;
    std::int32_t difficulty = 0;  // 0 easy, 1 medium, 2 hard
    GameEnd end = GameEnd::Lost;
    std::uint16_t rulesVersion = 0;
    std::int64_t mismatchFrame = -1;
    std::string line;  // exactly what `korvex --verify` prints
};

// Once per process: SDL's dummy video, the packs and the fonts. False with a reason when they fail.
bool prepareVerifier(std::string* error);
// Plays one recording from its bytes; calls are independent of each other.
VerifyOutcome verifyRecording(const std::string& bytes);

}  // namespace replay
