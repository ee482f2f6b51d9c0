// The globals every part of the game shares, and the routines that fill and show them.
#include "shell/shell.h"

#include "persist/player_files.h"
#include "shell/install_folders.h"

SDL_Surface* screen = nullptr;
platform::WindowHandle mainWindow = 0;
std::string programDir;
std::string dataDir;

namespace {
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
    setPlayerFolder(found.playerDir);
}
