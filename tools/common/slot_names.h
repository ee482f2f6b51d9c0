// The bitmap file names of the main pack's 39 slots, in pack order, shared by the asset generator
// (which writes one BMP per slot) and the pack tool (which names unpacked files after them).
#pragma once

namespace assets {

constexpr int kSlotCount = 39;

// "unused30.bmp" and "unused36.bmp" stand for the two slots the game never draws.
extern const char* const kSlotFileNames[kSlotCount];

}  // namespace assets
