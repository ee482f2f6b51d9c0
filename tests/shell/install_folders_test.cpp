// The layout and path decisions: which folders a program at a given path uses, where data names
// lead in each layout, and which user data folder the environment gives.
#include "shell/install_folders.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/platform.h"
#include "platform/posix/files.h"

namespace {

struct LayoutCase {
    const char* programPath;
    std::set<std::string> paths;  // the folders (ending in '/') and files that exist
    const char* userData;
    Layout layout;
    const char* programDir;
    const char* dataDir;
    const char* playerDir;
};

}  // namespace

TEST(Layout, ChosenFromTheProgramsPathAndWhereTheDataLies) {
    // One case a row.
    // clang-format off
    const LayoutCase cases[] = {
        // Portable: data/ beside the program wins, even beside an installed tree or packs of its own.
        {"/games/space/korvex", {"/games/space/data/"}, "/h/", Layout::Portable, "/games/space/",
         "/games/space/data/", "/games/space/data/"},
        {"/usr/bin/korvex", {"/usr/bin/data/", "/usr/share/korvex/0.pak"}, "/h/", Layout::Portable, "/usr/bin/",
         "/usr/bin/data/", "/usr/bin/data/"},
        {"C:/Games/Korvex/korvex.exe", {"C:/Games/Korvex/data/", "C:/Games/Korvex/0.pak"}, "C:/U/AppData/",
         Layout::Portable, "C:/Games/Korvex/", "C:/Games/Korvex/data/", "C:/Games/Korvex/data/"},
        // Installed in a Unix tree: the splash pack in ../share/korvex/; the player's files in the home folder.
        {"/usr/bin/korvex", {"/usr/share/korvex/0.pak"}, "/h/.local/share/", Layout::Installed, "/usr/bin/",
         "/usr/share/korvex/", "/h/.local/share/korvex/"},
        {"/usr/games/korvex", {"/usr/share/korvex/0.pak", "/usr/games/0.pak"}, "/x/", Layout::Installed,
         "/usr/games/", "/usr/share/korvex/", "/x/korvex/"},
        {"/korvex", {"/share/korvex/0.pak"}, "/x/", Layout::Installed, "/", "/share/korvex/", "/x/korvex/"},
        // Installed flat, as on Windows: the packs beside the program, the player's files in %APPDATA%.
        {"C:/Program Files/Korvex/korvex.exe", {"C:/Program Files/Korvex/0.pak"}, "C:/U/AppData/Roaming/",
         Layout::Installed, "C:/Program Files/Korvex/", "C:/Program Files/Korvex/",
         "C:/U/AppData/Roaming/Korvex/"},
        // Installed without a home: no player folder, so nothing is written anywhere.
        {"/usr/bin/korvex", {"/usr/share/korvex/0.pak"}, "", Layout::Installed, "/usr/bin/", "/usr/share/korvex/", ""},
        {"C:/K/korvex.exe", {"C:/K/0.pak"}, "", Layout::Installed, "C:/K/", "C:/K/", ""},
        // Neither (a data folder without its splash pack counts for nothing): portable, so that start-up
        // names the missing pack beside the program.
        {"/usr/bin/korvex", {"/usr/share/korvex/", "/usr/share/korvex/1.pak", "/usr/bin/1.pak"}, "/x/",
         Layout::Portable, "/usr/bin/", "/usr/bin/data/", "/usr/bin/data/"},
        {"korvex", {}, "/x/", Layout::Portable, "./", "./data/", "./data/"},
    };
    // clang-format on
    for (const LayoutCase& c : cases) {
        const Directories d = chooseDirectories(
            c.programPath, [&](const std::string& p) { return c.paths.count(p) > 0; }, c.userData);
        SCOPED_TRACE(c.programPath + std::string(" with ") + std::to_string(c.paths.size()) + " paths");
        EXPECT_EQ(d.layout, c.layout);
        EXPECT_EQ(d.programDir, c.programDir);
        EXPECT_EQ(d.dataDir, c.dataDir);
        EXPECT_EQ(d.playerDir, c.playerDir);
    }
}

TEST(Layout, DataNamesLeadToTheDataFolderInBothLayoutsAndOtherNamesStayBesideTheProgram) {
    const struct {
        const char* name;
        const char* portable;
        const char* installed;
    } cases[] = {
        {"\\data\\0.pak", "/g/data/0.pak", "/usr/share/korvex/0.pak"},
        {"//data//1.pak", "/g/data/1.pak", "/usr/share/korvex/1.pak"},
        {"\\data\\3.wav", "/g/data/3.wav", "/usr/share/korvex/3.wav"},
        {"data/story1.bmp", "/g/data/story1.bmp", "/usr/share/korvex/story1.bmp"},
        {"database/x.bmp", "/g/database/x.bmp", "/usr/bin/database/x.bmp"},
        {"pictures/data/x.bmp", "/g/pictures/data/x.bmp", "/usr/bin/pictures/data/x.bmp"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(dataFilePath("/g/", "/g/data/", c.name), c.portable);
        EXPECT_EQ(dataFilePath("/usr/bin/", "/usr/share/korvex/", c.name), c.installed);
        // Portable paths are exactly the program folder joined with the name, as they always were.
        EXPECT_EQ(dataFilePath("/g/", "/g/data/", c.name), platform::joinPath("/g/", c.name));
    }
}

TEST(Layout, TheUserDataFolderIsXdgDataHomeThenTheHomesLocalShareAndNeverRelative) {
    const struct {
        const char* xdg;
        const char* home;
        const char* folder;
    } cases[] = {
        {"/d/data", "/h", "/d/data/"},
        {"/d/data/", "/h", "/d/data/"},
        {nullptr, "/h", "/h/.local/share/"},
        {"", "/h/", "/h/.local/share/"},
        {"rel/data", "/h", "/h/.local/share/"},
        {"rel", "rel", ""},
        {nullptr, nullptr, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::posix::userDataFolderFrom(c.xdg, c.home), c.folder)
            << (c.xdg ? c.xdg : "(unset)") << " / " << (c.home ? c.home : "(unset)");
    }
}
