// The two layouts, decided from the program's own path and nothing else of the system.
#include "shell/layout.h"

#include "platform/platform.h"

namespace {

constexpr const char* kPortableData = "data/";
constexpr const char* kInstalledData = "share/korvex/";
constexpr const char* kPlayerFolder = "korvex/";

// "/usr/games/bin/" -> "/usr/games/"; the root stays the root.
std::string parentFolder(const std::string& folder) {
    const std::size_t slash = folder.size() < 2 ? std::string::npos : folder.rfind('/', folder.size() - 2);
    return slash == std::string::npos ? folder : folder.substr(0, slash + 1);
}

}  // namespace

Directories chooseDirectories(const std::string& programPath,
                              const std::function<bool(const std::string&)>& folderExists,
                              const std::string& userDataFolder) {
    Directories d;
    const std::size_t slash = programPath.rfind('/');
    d.programDir = slash == std::string::npos ? std::string("./") : programPath.substr(0, slash + 1);
    d.dataDir = d.programDir + kPortableData;
    d.playerDir = d.dataDir;
    const std::string installedData = parentFolder(d.programDir) + kInstalledData;
    if (folderExists(d.dataDir) || !folderExists(installedData)) return d;

    d.layout = Layout::Installed;
    d.dataDir = installedData;
    d.playerDir = userDataFolder.empty() ? std::string() : userDataFolder + kPlayerFolder;
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
