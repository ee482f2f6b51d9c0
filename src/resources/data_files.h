// Where the game's own data files are.
#pragma once

#include <string>

// A data file named relative to the program folder ("\data\0.pak"), as found in dataDir.
std::string dataFile(const std::string& name);
