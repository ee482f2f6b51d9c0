// The window's scale and full screen: the command line first, then the preferences file.
#include "shell/window_choice.h"

#include "persist/player_files.h"
#include "persist/preferences.h"
#include "resources/images.h"
#include "shell/shell.h"

namespace {

Preferences kept;

void keepFullScreen(bool fullscreen) {
    kept.fullscreen = fullscreen;
    savePlayerFile(kPreferencesName, formatPreferences(kept));
}

}  // namespace

SDL_Surface* openGameWindow(const Options& options, const char* title, std::string* error) {
    // Verifying shows nothing, so it reads nothing of the player's; watching reads the window the
    // player likes, and neither keeps anything, not even a switch made while watching.
    const bool watching = !options.replayFile.empty() || !options.verifyFile.empty();
    const bool readKept = options.verifyFile.empty() && !playerDir.empty();
    kept = readKept ? loadPreferences(playerDir + kPreferencesName) : Preferences{};
    const Preferences before = kept;
    if (options.scale > 0) kept.scale = options.scale;
    if (options.fullscreen >= 0) kept.fullscreen = options.fullscreen == 1;
    if (!watching && kept != before) savePlayerFile(kPreferencesName, formatPreferences(kept));
    platform::chooseWindow(kept.scale, kept.fullscreen);
    platform::followScreen(&screen);
    platform::setWindowModeListener(watching ? nullptr : keepFullScreen);
    return platform::openScreen(kScreenWidth, kScreenHeight, 16, title, error);
}
