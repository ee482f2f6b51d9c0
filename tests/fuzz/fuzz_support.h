// What every fuzz target shares: the game's screen on SDL's dummy driver, and a stop that libFuzzer
// reports as a crash with the input that caused it.
#pragma once

#include <SDL.h>

#include <string>

namespace fuzz {

// Opens the 240 x 320 x 16 screen once (the image conversions need a display format).
void openScreen();

// Aborts with `what` when `holds` is false.
void require(bool holds, const char* what);

// A folder of this process under the system's temporary folder, removed at exit.
const std::string& scratchFolder();

}  // namespace fuzz
