// Folders on the real file system; the same on every build, since tests work in scratch folders.
#include <sys/stat.h>

#include "platform/platform.h"

namespace platform {

std::string userDataFolderFrom(const char* xdgDataHome, const char* home) {
    // The base directory rules say a relative value is to be ignored.
    if (xdgDataHome && xdgDataHome[0] == '/') return joinPath(xdgDataHome, "/");
    if (home && home[0] == '/') return joinPath(home, "/.local/share/");
    return "";
}

bool folderExists(const std::string& path) {
    struct stat info;
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool makePrivateFolder(const std::string& path) {
    if (path.empty()) return false;
    // Parents first, each created private like the folder itself.
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && !folderExists(part)) return false;
    }
    mkdir(path.c_str(), 0700);
    return folderExists(path);
}

}  // namespace platform
