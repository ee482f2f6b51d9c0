// Writing the generator's results: 24-bit BMP pictures and 16-bit mono WAV sounds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "assetgen/canvas.h"

namespace art {

// True when the game, which keeps 5 bits of red and blue and 6 of green, sees the two colours alike.
bool sameIn16Bit(Colour a, Colour b);

// Writes `picture` as a 24-bit BMP. Transparent pixels become `key`; an opaque pixel that the game
// would see as the key is moved one green step away from it, so that it stays visible.
bool writeBmp(const Canvas& picture, const std::string& path, Colour key, std::string* error);

// Writes 16-bit mono PCM samples as a WAV file.
bool writeWav(const std::vector<std::int16_t>& samples, int sampleRate, const std::string& path,
              std::string* error);

}  // namespace art
