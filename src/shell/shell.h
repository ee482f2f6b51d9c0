// Globals shared by every part of the game by design, set once at start-up.
#pragma once

#include <SDL.h>

#include <string>

#include "platform/platform.h"

extern SDL_Surface* screen;                // the game's 240 x 320 x 16 surface; target of every blit
extern platform::WindowHandle mainWindow;  // owner of the high-score reset question; may be 0
extern std::string programDir;             // program folder with a trailing '/'
extern std::string dataDir;                // packs, sounds, the story; programDir + "data/" when portable

// Makes the whole screen visible; every screen and frame ends its drawing with it.
void updateScreen();

// Fills programDir, dataDir and playerDir from the program's own path (see shell/install_folders.h).
void findDirectories();
