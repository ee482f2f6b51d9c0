// Start-up: the memory check, the single instance, directories, a missing display, and packs that
// are missing or damaged. Every path ends with exit code 0.
#include "shell/startup.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/script/script.h"
#include "shell/shell.h"
#include "support/test_support.h"

namespace script = platform::script;

class StartupTest : public testing_support::SdlTest {};

TEST_F(StartupTest, DirectoriesComeFromTheProgramsOwnPath) {
    script::setProgramPath("/games/space/korvex");
    findDirectories();
    EXPECT_EQ(programDir, "/games/space/");
    EXPECT_EQ(dataDir, "/games/space/data/");
}

TEST_F(StartupTest, TooLittleMemoryShowsTheMessageAndEnds) {
    script::setAvailableMemory(kMinimumFreeMemory - 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(korvexMain(), 0);
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(script::messages().size(), 1u);
    EXPECT_EQ(script::messages()[0].text, "Not enough memory!\nYou need at least 5MB of free memory.");
    EXPECT_EQ(script::messages()[0].caption, "Error");
    EXPECT_EQ(script::messages()[0].style, platform::MessageStyle::Ok);
}

TEST_F(StartupTest, ExactlyTheMinimumPassesTheMemoryCheck) {
    script::setAvailableMemory(kMinimumFreeMemory);
    testing::internal::CaptureStderr();
    EXPECT_EQ(korvexMain(), 0);  // goes on, and stops at the missing packs
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(script::messages().size(), 1u);
    EXPECT_NE(script::messages()[0].text.find("0.pak"), std::string::npos);
}

TEST_F(StartupTest, ASecondCopyEndsSilently) {
    script::setOtherInstanceRunning(true);
    EXPECT_EQ(korvexMain(), 0);
    EXPECT_TRUE(script::messages().empty());
    EXPECT_EQ(script::now(), 0u);
}

TEST_F(StartupTest, WithoutADisplayTheCauseIsPrintedAndTheGameEnds) {
    SDL_Quit();
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(korvexMain(), 0);
    const std::string printed = testing::internal::GetCapturedStderr();
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    EXPECT_NE(printed.find("korvex: cannot start the video system"), std::string::npos) << printed;
    EXPECT_TRUE(script::messages().empty());
}

TEST_F(StartupTest, AMissingOrDamagedPackEndsStartUpWithAMessageNamingIt) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(korvexMain(), 0);
    std::string printed = testing::internal::GetCapturedStderr();
    ASSERT_EQ(script::messages().size(), 1u);
    EXPECT_EQ(script::messages()[0].text,
              "Cannot open " + folder_ + "data/0.pak: the file is missing or unreadable.");
    EXPECT_NE(printed.find(script::messages()[0].text), std::string::npos);  // no font yet: on stderr

    testing_support::writeFile(folder_ + "data/0.pak", "this is no gzip stream and no pack either");
    testing::internal::CaptureStderr();
    EXPECT_EQ(korvexMain(), 0);
    printed = testing::internal::GetCapturedStderr();
    ASSERT_EQ(script::messages().size(), 2u);
    EXPECT_NE(script::messages()[1].text.find("data/0.pak: it is damaged"), std::string::npos)
        << script::messages()[1].text;

    testing_support::writeFile(folder_ + "data/0.pak", std::string(4, '\0'));  // a pack of no images
    testing::internal::CaptureStderr();
    EXPECT_EQ(korvexMain(), 0);
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(script::messages().size(), 3u);
    EXPECT_EQ(script::messages()[2].text, "Cannot load " + folder_ + "data/0.pak: it holds no picture.");
}

// The command line as main hands it, in an installed game whose player's folder is not made yet:
// what each ends with, and what it leaves in that folder.
TEST_F(StartupTest, CommandLinesEndAsTheySayAndOnlyANormalRunKeepsAChoice) {
    const std::string golden = KORVEX_SOURCE_DIR "/tests/replays/menu-resume-quit.kvr";
    const struct {
        std::vector<const char*> args;
        bool pressF11;  // during the run
        int exitCode;
        const char* printed;  // the start of what it prints on standard output or error
        const char* kept;     // korvex.conf afterwards; null for none
    } cases[] = {
        {{"--scale", "3"}, false, 0, "", "scale = 3\n"},
        {{"--window", "--scale=2", "--fullscreen"}, false, 0, "", "scale = 2\nfullscreen = yes\n"},
        {{"--verify", golden.c_str(), "--fullscreen", "--scale", "5"},
         false,
         0,
         "score 150 level 3",
         nullptr},
        {{"--replay", golden.c_str(), "--speed", "16", "--scale", "2"}, true, 0, "", nullptr},
        {{"--replay", golden.c_str(), "--verify", golden.c_str()},
         false,
         2,
         "korvex: --replay and --verify",
         nullptr},
        {{"--scale"}, false, 2, "korvex: --scale needs a value", nullptr},
    };
    namespace fs = std::filesystem;
    installGameData();
    fs::create_directories(folder_ + "share");
    fs::rename(folder_ + "data", folder_ + "share/korvex");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + std::string(" ") + c.args[1 % c.args.size()]);
        script::reset();
        script::setProgramPath(folder_ + "bin/korvex");
        script::setUserDataFolder(folder_ + "home/");
        script::setTimeLimit(3000);  // a normal run ends in its menu
        if (c.pressF11) script::keyDown(SDLK_F11, 1000);
        std::vector<const char*> argv = c.args;
        argv.insert(argv.begin(), "korvex");
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        EXPECT_EQ(runCommandLine(static_cast<int>(argv.size()), argv.data()), c.exitCode);
        const std::string printed =
            testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
        EXPECT_EQ(printed.rfind(c.printed, 0), 0u) << printed;
        const std::string conf = folder_ + "home/korvex/korvex.conf";
        if (c.kept) {
            EXPECT_NE(testing_support::readFile(conf).find(c.kept), std::string::npos)
                << testing_support::readFile(conf);
        } else {
            EXPECT_FALSE(fs::exists(folder_ + "home")) << "something was written";
        }
        fs::remove_all(folder_ + "home");
    }
}
