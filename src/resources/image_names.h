// The bitmap file names of the main pack's slots, in pack order. Shared with the tools, which write
// one picture per slot and name unpacked files after them.
#pragma once

constexpr int kImageSlotCount = 39;

// "unused30.bmp" and "unused36.bmp" stand for the two slots the game never draws.
extern const char* const kImageFileNames[kImageSlotCount];
