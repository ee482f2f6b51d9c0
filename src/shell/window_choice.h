// The window as the command line and the preferences file ask for it.
#pragma once

#include <SDL.h>

#include <string>

#include "shell/command_line.h"

// Opens the game's surface (`screen`) scaled and in full screen or not as --scale, --fullscreen and
// --window say, else as korvex.conf in playerDir says; keeps what the command line chose and the
// player's later switches (F11, Alt+Enter) in that file. Null when no video mode can be set.
SDL_Surface* openGameWindow(const Options& options, const char* title, std::string* error);
