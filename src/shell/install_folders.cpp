// The two layouts, decided from the program's own path and nothing else of the system.
#include "shell/install_folders.h"

#include "platform/platform.h"

namespace {

constexpr const char* kPortableData = "data/";
constexpr const char* kSplashPack = "0.pak";  // the first file the game reads: it marks the data folder

// The installed layouts, tried in turn: the data folder, in the program's folder or in its parent,
// and the player's folder below the user's data folder, named as is usual on the system that lays
// programs out so.
struct InstalledLayout {
    bool inParent;
    const char* data;
    const char* player;
};
const InstalledLayout kInstalled[] = {
    {true, "share/korvex/", "korvex/"},  // a Unix tree: the program in bin/ or games/, the data in share/
    {false, "", "Korvex/"},              // one flat folder, as programs are installed on Windows
};

// "/usr/games/bin/" -> "/usr/games/"; the root stays the root.
std::string parentFolder(const std::string& folder) {
    const std::size_t slash = folder.size() < 2 ? std::string::npos : folder.rfind('/', folder.size() - 2);
    return slash == std::string::npos ? folder : folder.substr(0, slash + 1);
}

}  // namespace

Directories chooseDirectories(const std::string& programPath,
                              const std::function<bool(const std::string&)>& exists,
                              const std::string& userDataFolder) {
    Directories d;
    const std::size_t slash = programPath.rfind('/');
    d.programDir = slash == std::string::npos ? std::string("./") : programPath.substr(0, slash + 1);
    d.dataDir = d.programDir + kPortableData;
    d.playerDir = d.dataDir;
    if (exists(d.dataDir)) return d;
    for (const InstalledLayout& installed : kInstalled) {
        const std::string data =
            (installed.inParent ? parentFolder(d.programDir) : d.programDir) + installed.data;
        if (!exists(data + kSplashPack)) continue;
        d.layout = Layout::Installed;
        d.dataDir = data;
        d.playerDir = userDataFolder.empty() ? std::string() : userDataFolder + installed.player;
        break;
    }
    return d;
}

std::string dataFilePath(const std::string& programDir, const std::string& dataDir, const std::string& name) {
    const std::string relative = platform::joinPath("/", name).substr(1);
    const std::string prefix = kPortableData;
    if (relative.compare(0, prefix.size(), prefix) == 0) {
        return platform::joinPath(dataDir, relative.substr(prefix.size()));
    }
    return platform::joinPath(programDir, name);
}
