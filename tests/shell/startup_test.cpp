// Start-up: the memory check, the single instance, directories, a missing display, and packs that
// are missing or damaged. Every path ends with exit code 0.
#include "shell/startup.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <vector>

#include "persist/player_files.h"
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

// The layout as the file system shows it: data/ must be a folder, the splash pack a file.
TEST_F(StartupTest, TheLayoutFollowsTheFoldersAndFilesThatExist) {
    testing_support::ScratchFolder scratch;
    const std::string s = scratch.path + "/", home = s + "home/";
    const struct {
        const char* program;
        std::vector<const char*> folders, files;
        const char* dataDir;
        const char* playerDir;
    } cases[] = {
        {"p/korvex", {"p/data"}, {"p/0.pak"}, "p/data/", "p/data/"},
        {"u/bin/korvex",
         {"u/bin", "u/share/korvex"},
         {"u/share/korvex/0.pak"},
         "u/share/korvex/",
         "home/korvex/"},
        {"w/korvex.exe", {"w"}, {"w/0.pak"}, "w/", "home/Korvex/"},
        {"e/korvex.exe", {"e"}, {"e/data", "e/0.pak"}, "e/", "home/Korvex/"},  // data is a file there
        {"f/korvex.exe", {"f", "f/0.pak"}, {}, "f/data/", "f/data/"},          // 0.pak is a folder there
    };
    script::setUserDataFolder(home);
    for (const auto& c : cases) {
        for (const char* folder : c.folders) ASSERT_TRUE(platform::makePrivateFolder(s + folder));
        // An empty pack still marks the data folder; start-up then says what is wrong with it.
        for (const char* file : c.files) testing_support::writeFile(s + file, "");
        script::setProgramPath(s + c.program);
        findDirectories();
        EXPECT_EQ(dataDir, s + c.dataDir) << c.program;
        EXPECT_EQ(playerDir, s + c.playerDir) << c.program;
    }
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
