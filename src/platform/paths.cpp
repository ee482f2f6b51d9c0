// Data files are named the Windows way ("\data\0.pak"); every build joins them to its folders alike.
#include "platform/platform.h"

namespace platform {

std::string joinPath(const std::string& folder, const std::string& name) {
    std::string path = folder;
    for (char c : name) {
        const char part = c == '\\' ? '/' : c;
        // One separator between components, whatever the name brings.
        if (part == '/' && !path.empty() && path.back() == '/') continue;
        path += part;
    }
    return path;
}

}  // namespace platform
