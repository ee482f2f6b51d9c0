// The globals every part of the game shares, and the two small routines that fill and show them.
#include "shell/shell.h"

SDL_Surface* screen = nullptr;
platform::WindowHandle mainWindow = 0;
std::string programDir;
std::string dataDir;
std::string playerDir;

void updateScreen() { platform::presentScreen(screen); }

void findDirectories() {
    const std::string path = platform::programPath();
    const std::size_t slash = path.rfind('/');
    programDir = slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
    dataDir = programDir + "data/";
    playerDir = dataDir;
}
