// Start-up: the memory check, the single instance, directories, a missing display, and packs that
// are missing or damaged. Every path ends with exit code 0.
#include "shell/startup.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>

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
