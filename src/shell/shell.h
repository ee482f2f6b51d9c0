// Globals shared by every part of the game, set once at start-up.
#pragma once

#include <SDL.h>

#include <string>

#include "platform/platform.h"

extern SDL_Surface* screen;                // the game's 240 x 320 x 16 surface; target of every blit
extern platform::WindowHandle mainWindow;  // owner of the high-score reset question; may be 0
extern std::string programDir;             // program folder with a trailing '/'
extern std::string dataDir;                // packs, sounds, the story; programDir + "data/" when portable
extern std::string playerDir;              // the settings file and the player's other files

constexpr int kScreenWidth = 240;
constexpr int kScreenHeight = 320;

// Makes the whole screen visible; every screen and frame ends its drawing with it.
void updateScreen();

// Fills programDir, dataDir and playerDir from the program's own path (see shell/install_folders.h).
void findDirectories();

// A data file named relative to the program folder ("\data\0.pak"), as found in dataDir.
std::string dataFile(const std::string& name);

// False when there is no player folder (no home is known): then nothing is kept, and the first call
// after findDirectories says so on standard error. Nothing may then be written in the current folder.
bool havePlayerFolder();

// Every save of the player's files (settings, preferences) comes here: the player's folder is made
// private first, then `name` in it replaced whole (platform::replaceFile). False, nothing written, when
// there is no player folder or the save fails.
bool savePlayerFile(const char* name, const std::string& bytes);

// The save rule itself, for any folder (the recordings' may be another one's): `folder` made private
// first, then `name` in it replaced whole. False when either fails.
bool saveFileIn(const std::string& folder, const std::string& name, const std::string& bytes);
