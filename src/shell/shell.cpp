// The globals every part of the game shares, and the routines that fill and show them.
#include "shell/shell.h"

#include "persist/player_files.h"
#include "shell/install_folders.h"

SDL_Surface* screen = nullptr;
platform::WindowHandle mainWindow = 0;
std::string programDir;
std::string dataDir;

namespace {
bool movedPlayerFolder = false;  // a portable copy's player files kept in the user's folder instead

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
    const std::string userData = platform::userDataFolder();
    const Directories found = chooseDirectories(platform::programPath(), exists, userData);
    programDir = found.programDir;
    dataDir = found.dataDir;
    // A portable copy unpacked where it cannot write (below Program Files, on a read-only share) keeps
    // the player's files where an installed copy would, unless its own folder holds a table already.
    std::string playerFolder = found.playerDir;
    movedPlayerFolder = found.layout == Layout::Portable && platform::folderExists(playerFolder) &&
                        !exists(playerFolder + "korvex.set") && !platform::folderWritable(playerFolder);
    if (movedPlayerFolder) playerFolder = installedPlayerDir(userData);
    setPlayerFolder(playerFolder);
}

void tellMovedPlayerFolder() {
    if (!movedPlayerFolder || playerDir.empty() || platform::folderExists(playerDir)) return;
    platform::reportText("korvex: " + dataDir +
                             " cannot be written: settings, high scores and recorded games are kept in " +
                             playerDir + "\n",
                         false);
    platform::makePrivateFolder(playerDir);  // so that this is said once
}
