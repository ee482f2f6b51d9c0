// Start-up opens the window the command line or else korvex.conf asks for, and keeps the player's
// F11 in the file; the 211-byte settings file is left alone.
#include <gtest/gtest.h>

#include "persist/player_files.h"
#include "persist/preferences.h"
#include "persist/settings.h"
#include "platform/script/script.h"
#include "shell/startup.h"
#include "support/test_support.h"

namespace script = platform::script;

class WindowChoiceTest : public testing_support::SdlTest {};

TEST_F(WindowChoiceTest, CommandLineFirstThenThePreferencesFileWhichKeepsTheSwitches) {
    installGameData();
    script::setDesktopSize(1000, 1000);
    const std::string file = playerDir + kPreferencesName;
    testing_support::writeFile(file, "scale = 2\ncolour = red\n");
    Options large;
    large.scale = 4;
    large.fullscreen = 0;
    // Watching and verifying keep nothing of what the command line or F11 say.
    Options watch = large, verify = large;
    watch.replayFile = verify.verifyFile = KORVEX_SOURCE_DIR "/tests/replays/menu-resume-quit.kvr";
    watch.speed = 16;
    watch.scale = verify.scale = 3;
    verify.fullscreen = 1;
    const struct {
        Options options;
        bool pressF11;
        int width;  // of the window once the menu is up
        Preferences kept;
    } runs[] = {
        {Options{}, true, 480, {2, true}},    // the file's scale; F11 kept
        {Options{}, false, 1000, {2, true}},  // starts in full screen
        {large, false, 960, {4, false}},      // the command line wins and is kept
        {watch, true, 720, {4, false}},
        {verify, false, 0, {4, false}},  // nothing waits, so nothing is seen
    };
    for (const auto& run : runs) {
        int width = 0;
        script::setIdleHook([&] {
            if (width || script::now() < 1000) return;  // past the splash: the menu waits
            width = SDL_GetVideoSurface()->w;
            if (run.pressF11) script::keyDown(SDLK_F11, script::now());
            script::quit(script::now() + 10);
        });
        EXPECT_EQ(korvexMain(run.options), 0);
        EXPECT_EQ(width, run.width);
        EXPECT_EQ(loadPreferences(file), run.kept) << testing_support::readFile(file);
    }
    EXPECT_FALSE(testing_support::fileExists(settingsPath()));
}
