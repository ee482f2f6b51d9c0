// The process entry: start-up checks, SDL, the game, shutdown.
#pragma once

#include <cstdint>

#include "shell/command_line.h"

constexpr std::uint64_t kMinimumFreeMemory = 5000000;  // bytes

// Runs the whole program; returns the process exit code: 0 on every path of a game; for --verify
// 1 when the recording does not replay as recorded; 2 when --replay or --verify get no recording.
int korvexMain(const Options& options = Options{});
