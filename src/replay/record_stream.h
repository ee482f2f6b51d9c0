// The record stream inside a recording's file, written and read record by record.
#pragma once

#include <cstddef>
#include <string>

#include "replay/replay_file.h"

namespace replay {

// The records of `replay`, uncompressed.
std::string encodeStream(const Replay& replay);

// Rebuilds `replay`'s start, frames, segments, readings and key changes from its records; false on
// anything a recorder never writes or on more than `maxFrames` frames.
bool decodeStream(const std::string& stream, std::size_t maxFrames, Replay* replay);

}  // namespace replay
