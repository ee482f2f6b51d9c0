// Where the game reads its data and keeps the player's files. Portable: a folder holding the
// program and its data/ (settings beside the data, as always). Installed: the data never written to,
// either in ../share/korvex/ (a Unix tree, the program in bin/) or beside the program (one flat folder,
// as on Windows), and the player's files in the user's data folder.
#pragma once

#include <functional>
#include <string>

enum class Layout { Portable, Installed };

struct Directories {
    Layout layout = Layout::Portable;
    std::string programDir;  // the program's folder, ending in '/'
    std::string dataDir;     // packs, sounds and the story, ending in '/'
    std::string playerDir;   // settings, preferences, replays, ending in '/'; empty when there is no home
};

// The layout of a program at `programPath`: portable when data/ lies beside it; installed when there
// is none but the splash pack 0.pak lies in ../share/korvex/ (the player's folder then "korvex/") or
// beside the program ("Korvex/"); portable otherwise (start-up then names the missing pack).
// `exists` answers for a folder (a path ending in '/') or a file; `userDataFolder` ends in '/' or is
// empty when the user has no known home.
Directories chooseDirectories(const std::string& programPath,
                              const std::function<bool(const std::string&)>& exists,
                              const std::string& userDataFolder);

// A data file as the game names it, relative to the program folder ("\data\0.pak",
// "data/story1.bmp"), found in `dataDir` in either layout; other names stay beside the program.
std::string dataFilePath(const std::string& programDir, const std::string& dataDir, const std::string& name);
