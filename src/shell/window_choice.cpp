// The window's scale and full screen: the command line first, then the preferences file.
#include "shell/window_choice.h"

#include "persist/preferences.h"
#include "shell/shell.h"

namespace {

Preferences kept;

std::string preferencesPath() {
    return playerDir + kPreferencesName;
}

void keepFullScreen(bool fullscreen) {
    kept.fullscreen = fullscreen;
    savePreferences(preferencesPath(), kept);
}

}  // namespace

SDL_Surface* openGameWindow(const Options& options, const char* title, std::string* error) {
    kept = loadPreferences(preferencesPath());
    const Preferences before = kept;
    if (options.scale > 0) kept.scale = options.scale;
    if (options.fullscreen >= 0) kept.fullscreen = options.fullscreen == 1;
    if (kept != before) savePreferences(preferencesPath(), kept);
    platform::chooseWindow(kept.scale, kept.fullscreen);
    platform::followScreen(&screen);
    platform::setWindowModeListener(keepFullScreen);
    return platform::openScreen(kScreenWidth, kScreenHeight, 16, title, error);
}
