// The player's folder and the save rule every file of the player's goes by.
#include "persist/player_files.h"

#include "platform/platform.h"

std::string playerDir;

namespace {
bool toldNoPlayerFolder = false;
}  // namespace

void setPlayerFolder(const std::string& folder) {
    playerDir = folder;
    toldNoPlayerFolder = false;
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
