// Start-up and shutdown: refuse to start without memory or beside a running copy, open the window,
// run the game, shut SDL down.
#include "shell/startup.h"

#include <cstdlib>
#include <string>
#include <utility>

#include "persist/player_files.h"
#include "replay/replay_run.h"
#include "resources/images.h"
#include "shell/game_flow.h"
#include "shell/shell.h"
#include "shell/window_choice.h"

namespace {

constexpr const char* kTitle = "KORVEX";

}  // namespace

int korvexMain(const Options& options) {
    // A recorded game to watch or verify is read first: a bad file is refused before any window.
    const bool watching = replay::wantsReplay(options);
    replay::Replay recording;
    std::string recordingBytes;
    if (watching && !replay::loadReplay(options, &recording, &recordingBytes)) return 2;
    if (platform::availablePhysicalMemory() < kMinimumFreeMemory) {
        platform::messageBox(0, "Not enough memory!\nYou need at least 5MB of free memory.", "Error",
                             platform::MessageStyle::Ok);
        return 0;
    }
    findDirectories();
    // Watching writes nothing, so it may run beside the game; beside another copy the game ends silently.
    if (!watching && !platform::acquireSingleInstance(kTitle, playerDir)) return 0;
    if (!options.verifyFile.empty()) SDL_putenv(const_cast<char*>("SDL_VIDEODRIVER=dummy"));  // headless

    // Sound starts with the first sound played (the platform's business); without a window the game
    // cannot run at all.
    if (!platform::startVideo()) {
        platform::reportText(std::string("korvex: cannot start the video system: ") + SDL_GetError() + "\n",
                             true);
        SDL_Quit();
        return 0;
    }
    std::string error;
    screen = openGameWindow(options, kTitle, &error);
    if (!screen) {
        platform::reportText("korvex: cannot open the " + std::to_string(kScreenWidth) + " x " +
                                 std::to_string(kScreenHeight) + " window: " + error + "\n",
                             true);
        SDL_Quit();
        return 0;
    }
    mainWindow = platform::findWindow(kTitle);
    platform::captureButtons();
    platform::openGamepad();
    // SDL is shut down below, not also from atexit: the one exit that comes from under the game is
    // Xlib's when the display is lost, and SDL 2 (under sdl12-compat) shutting down then waits for
    // the window to go forever, at full speed.

    int code = 0;
    if (watching) {
        code = replay::runReplayCommand(options, std::move(recording), recordingBytes);
    } else {
        replay::startRecordingGames();
        runGame();
        replay::stopRecordingGames();
    }

    platform::setMessagePainter(nullptr, nullptr, nullptr, 0);
    SDL_Quit();
    platform::releaseButtons();
    screen = nullptr;
    return code;
}
