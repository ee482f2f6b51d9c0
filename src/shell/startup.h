// The process entry: start-up checks, SDL, the game, shutdown.
#pragma once

#include <cstdint>

#include "shell/options.h"

constexpr std::uint64_t kMinimumFreeMemory = 5000000;  // bytes

// Runs the whole program; returns the process exit code (0 on every path).
int korvexMain(const Options& options = Options{});
