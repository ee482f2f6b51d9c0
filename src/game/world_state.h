// The world as a recorded game sees it: a digest of everything that moves, and what a new game
// carries over from the games before it in the same run.
#pragma once

#include <cstdint>
#include <string>

// Raised by every change of the rules that changes play; recorded games of other rules are refused.
// Raising it means re-recording tests/replays (tools/replay_bot) in the same commit.
constexpr std::uint16_t kRulesVersion = 1;

// A digest of the world: player, shot, formation, bombs, stars, bricks, gift carrier, level state and
// the last random draw. Images and links are not part of it.
std::uint32_t worldChecksum();

// What a new game starts from besides level, lives, score and difficulty: hurry, the last random
// draw, the fire chance, the enemies' fire counters, the ship's moving flags, frame and speed.
std::string carriedState();
// Puts such a state back; false (nothing changed) when `bytes` is not one or holds a value the game
// never gives that field (a fire counter past its period, a fire chance past its 500 draws, ...).
bool restoreCarriedState(const std::string& bytes);
