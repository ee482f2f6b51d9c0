// Device services that are the same on every build: paths, the hot-spot rule, the random generator.
#include <cstdlib>

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

bool ptInRect(const Rect& r, int x, int y) { return r.left <= x && x < r.right && r.top <= y && y < r.bottom; }

void seedRandom(std::uint32_t seed) { std::srand(seed); }

int nextRandom() { return std::rand(); }

}  // namespace platform
