// The globals every part of the game shares, and the two small routines that fill and show them.
#include "shell/shell.h"

#include "shell/layout.h"

SDL_Surface* screen = nullptr;
platform::WindowHandle mainWindow = 0;
std::string programDir;
std::string dataDir;
std::string playerDir;

void updateScreen() { platform::presentScreen(screen); }

void findDirectories() {
    const Directories found =
        chooseDirectories(platform::programPath(), platform::folderExists, platform::userDataFolder());
    programDir = found.programDir;
    dataDir = found.dataDir;
    playerDir = found.playerDir;
}

std::string dataFile(const std::string& name) {
    return dataFilePath(programDir, dataDir, name);
}
