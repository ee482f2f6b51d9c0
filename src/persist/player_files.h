// The player's own folder and the one way every file of the player's is saved.
#pragma once

#include <string>

extern std::string playerDir;  // the settings file and the player's other files; empty: none known

// Sets playerDir (start-up's layout chooses it); the next havePlayerFolder may say again that there is none.
void setPlayerFolder(const std::string& folder);

// False when there is no player folder (no home is known): then nothing is kept, and the first call
// after setPlayerFolder says so as an error. Nothing may then be written in the current folder.
bool havePlayerFolder();

// Every save of the player's files (settings, preferences) comes here: the player's folder is made
// private first, then `name` in it replaced whole (platform::replaceFile). False, nothing written, when
// there is no player folder or the save fails.
bool savePlayerFile(const char* name, const std::string& bytes);

// The save rule itself, for any folder (the recordings' may be another one's): `folder` made private
// first, then `name` in it replaced whole. False when either fails.
bool saveFileIn(const std::string& folder, const std::string& name, const std::string& bytes);
