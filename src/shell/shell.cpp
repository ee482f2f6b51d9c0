// The globals every part of the game shares, and the two small routines that fill and show them.
#include "shell/shell.h"

#include "shell/install_folders.h"

SDL_Surface* screen = nullptr;
platform::WindowHandle mainWindow = 0;
std::string programDir;
std::string dataDir;
std::string playerDir;

namespace {
bool toldNoPlayerFolder = false;

// A folder (a path ending in '/'), or a file that can be read.
bool exists(const std::string& path) {
    if (!path.empty() && path.back() == '/') return platform::folderExists(path);
    std::string firstByte;
    const platform::FileRead read = platform::readFile(path, 0, &firstByte);
    return read == platform::FileRead::Whole || read == platform::FileRead::Cut;
}
}  // namespace

void updateScreen() {
    platform::presentScreen(screen);
}

void findDirectories() {
    const Directories found = chooseDirectories(platform::programPath(), exists, platform::userDataFolder());
    programDir = found.programDir;
    dataDir = found.dataDir;
    playerDir = found.playerDir;
    toldNoPlayerFolder = false;
}

std::string dataFile(const std::string& name) {
    return dataFilePath(programDir, dataDir, name);
}

bool havePlayerFolder() {
    if (!playerDir.empty()) return true;
    if (!toldNoPlayerFolder) {
        platform::reportText(
            "korvex: no home folder is known: settings, preferences and recorded games are not kept\n", true);
    }
    toldNoPlayerFolder = true;
    return false;
}

bool savePlayerFile(const char* name, const std::string& bytes) {
    return havePlayerFolder() && saveFileIn(playerDir, name, bytes);
}

bool saveFileIn(const std::string& folder, const std::string& name, const std::string& bytes) {
    return platform::makePrivateFolder(folder) && platform::replaceFile(folder + name, bytes);
}
