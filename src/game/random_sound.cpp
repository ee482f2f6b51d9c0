// The game's only random source and its only way to play a sound.
#include "game/world.h"
#include "persist/settings.h"
#include "platform/platform.h"
#include "resources/data_files.h"

std::int32_t randomRange(std::int32_t lo, std::int32_t hi, std::int32_t salt) {
    // Reseeded before every draw from the clock, the previous result and the caller's salt, in
    // 32-bit arithmetic with wrap-around; there is no other random state.
    const std::uint32_t seed =
        platform::ticks() * static_cast<std::uint32_t>(lastRandom) + static_cast<std::uint32_t>(salt);
    platform::seedRandom(seed);
    const int r = platform::nextRandom();
    lastRandom = lo + r % (hi - lo);
    return lastRandom;
}

void playSound(int n) {
    static const char* const kSoundFiles[] = {"\\data\\0.wav", "\\data\\1.wav", "\\data\\2.wav",
                                              "\\data\\3.wav"};
    if (!settings.soundOn || n < 0 || n > 3) return;
    platform::playSoundAsync(dataFile(kSoundFiles[n]));
}
