// Shared set-up of the fuzz targets.
#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/platform.h"
#include "shell/shell.h"

namespace fuzz {

void openScreen() {
    if (screen) return;
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::string error;
    require(SDL_Init(SDL_INIT_VIDEO) == 0, "SDL_Init");
    screen = platform::openScreen(240, 320, 16, "KORVEX", &error);
    require(screen != nullptr, "no screen");
}

void require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz: %s\n", what);
    std::abort();
}

namespace {
std::string makeFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "korvex-fuzz-XXXXXX").string();
    require(mkdtemp(pattern.data()) != nullptr, "mkdtemp");
    static const std::string removeAtExit = pattern;
    std::atexit([] { std::filesystem::remove_all(removeAtExit); });
    return pattern + "/";
}
}  // namespace

const std::string& scratchFolder() {
    static const std::string folder = makeFolder();
    return folder;
}

}  // namespace fuzz
