// The game's four sound effects, synthesised: 22050 Hz, 16-bit, mono.
#pragma once

#include <cstdint>
#include <vector>

namespace sound {

constexpr int kSampleRate = 22050;

std::vector<std::int16_t> shot();        // 0.wav: the player fires
std::vector<std::int16_t> hit();         // 1.wav: an enemy bursts, or the ship is hit
std::vector<std::int16_t> carrierHit();  // 2.wav: the gift carrier is struck
std::vector<std::int16_t> giftCaught();  // 3.wav: a gift is caught

}  // namespace sound
