// Every file the game writes for the player goes one way (savePlayerFile, then replaceFile): one table
// of what can stand where the file goes, and what a save must then do.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "shell/shell.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

constexpr uid_t kNobody = 65534;
constexpr const char* kName = "korvex.conf";
volatile sig_atomic_t alarmed = 0;

// The bytes saver `k` writes: large enough that two savers' writes overlap.
std::string content(int k) {
    return std::string(16 * 1024, static_cast<char>('a' + k));
}

// What a folder holds, by name.
std::set<std::string> listing(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

// A file owned by the user the save runs as, in folders that user may enter.
void openToOthers(const std::string& folder, const std::string& file) {
    fs::permissions(folder, fs::perms::all);
    if (!file.empty() && geteuid() == 0) {
        ASSERT_EQ(chown(file.c_str(), kNobody, kNobody), 0);
    }
}

struct FileCase {
    const char* what;
    const char* player;  // the player's folder in the scratch folder; "" for none
    void (*plant)(const std::string& folder);
    bool asOtherUser;  // root writes even a read-only file: such a save is made as another user
    int savers;        // copies of the game saving the same file at once, many times each
    bool saved;
    void (*expect)(const std::string& folder);
};

const FileCase kCases[] = {
    {"no player folder: nothing lands in the current folder", "", [](const std::string&) {}, false, 1, false,
     [](const std::string& folder) { EXPECT_TRUE(fs::is_empty(folder)); }},
    {"first save: the folder and its parents are made private", "home/.local/share/korvex/",
     [](const std::string&) {}, false, 1, true,
     [](const std::string& folder) {
         EXPECT_TRUE(testing_support::readFile(folder + "home/.local/share/korvex/korvex.conf") ==
                     content(0));
         for (const char* made : {"home", "home/.local/share", "home/.local/share/korvex"}) {
             EXPECT_EQ(fs::status(folder + made).permissions(), fs::perms::owner_all) << made;
         }
     }},
    {"a link: its target is replaced, keeping its mode", "player/",
     [](const std::string& folder) {
         fs::create_directories(folder + "elsewhere");
         testing_support::writeFile(folder + "elsewhere/conf", "old");
         fs::permissions(folder + "elsewhere/conf",
                         fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
         fs::create_symlink("../elsewhere/conf", folder + "player/korvex.conf");
     },
     false, 1, true,
     [](const std::string& folder) {
         EXPECT_TRUE(fs::is_symlink(folder + "player/korvex.conf"));
         EXPECT_TRUE(testing_support::readFile(folder + "elsewhere/conf") == content(0));
         EXPECT_EQ(fs::status(folder + "elsewhere/conf").permissions(),
                   fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
     }},
    {"a chain of links to a file not there yet: the chain stays, its end is made", "player/",
     [](const std::string& folder) {
         fs::create_directories(folder + "elsewhere");
         fs::create_symlink("one", folder + "player/korvex.conf");
         fs::create_symlink("two", folder + "player/one");
         fs::create_symlink(folder + "elsewhere/end", folder + "player/two");
     },
     false, 1, true,
     [](const std::string& folder) {
         for (const char* link : {"korvex.conf", "one", "two"}) {
             EXPECT_TRUE(fs::is_symlink(folder + "player/" + link)) << link;
         }
         EXPECT_TRUE(testing_support::readFile(folder + "elsewhere/end") == content(0));
     }},
    {"a read-only file is refused and stays", "player/",
     [](const std::string& folder) {
         testing_support::writeFile(folder + "player/korvex.conf", "old");
         fs::permissions(folder + "player/korvex.conf", fs::perms::owner_read);
         openToOthers(folder, folder + "player/korvex.conf");
         openToOthers(folder + "player", "");
     },
     true, 1, false,
     [](const std::string& folder) {
         EXPECT_EQ(testing_support::readFile(folder + "player/korvex.conf"), "old");
     }},
    {"two copies saving at once: every save whole", "player/", [](const std::string&) {}, false, 2, true,
     [](const std::string& folder) {
         const std::string kept = testing_support::readFile(folder + "player/korvex.conf");
         EXPECT_TRUE(kept == content(0) || kept == content(1)) << kept.size() << " bytes";
     }},
    {"a folder that cannot be synced: the file in place is a save", "player/",
     [](const std::string& folder) {
         openToOthers(folder, "");
         const fs::perms read = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
         fs::permissions(folder + "player", fs::perms::all & ~read);
     },
     true, 1, true,
     [](const std::string& folder) {
         EXPECT_TRUE(testing_support::readFile(folder + "player/korvex.conf") == content(0));
         EXPECT_TRUE(platform::moveFile(folder + "player/korvex.conf", folder + "player/moved"));
     }},
    {"a FIFO is refused without waiting for a reader", "player/",
     [](const std::string& folder) { ASSERT_EQ(mkfifo((folder + "player/korvex.conf").c_str(), 0600), 0); },
     false, 1, false,
     [](const std::string& folder) { EXPECT_TRUE(fs::is_fifo(folder + "player/korvex.conf")); }},
};

// Each saver saves its own bytes `rounds` times, the first in this process, the others in children;
// true when every save of every saver succeeded.
bool saveAtOnce(int savers, int rounds) {
    std::vector<pid_t> children;
    for (int k = 1; k < savers; ++k) {
        const pid_t child = fork();
        if (child == 0) {
            bool all = true;
            for (int r = 0; r < rounds; ++r) all = savePlayerFile(kName, content(k)) && all;
            _exit(all ? 0 : 1);
        }
        children.push_back(child);
    }
    bool all = true;
    for (int r = 0; r < rounds; ++r) all = savePlayerFile(kName, content(0)) && all;
    for (pid_t child : children) {
        int status = 0;
        all = waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0 && all;
    }
    return all;
}

}  // namespace

TEST(PlayerFiles, EverySaveGoesOneWayWhateverStandsWhereTheFileGoes) {
    struct sigaction onAlarm = {}, before = {};
    onAlarm.sa_handler = [](int) { alarmed = 1; };  // no restart: a blocked call returns
    ASSERT_EQ(sigaction(SIGALRM, &onAlarm, &before), 0);
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    for (const FileCase& c : kCases) {
        SCOPED_TRACE(c.what);
        testing_support::ScratchFolder scratch;
        const std::string folder = scratch.path + "/";
        findDirectories();  // as at start-up: nothing said yet
        playerDir = c.player[0] ? folder + c.player : std::string();
        if (c.player == std::string("player/")) fs::create_directory(playerDir);
        c.plant(folder);
        ASSERT_EQ(chdir(folder.c_str()), 0);  // where a relative name would land
        testing::internal::CaptureStderr();
        const bool other = c.asOtherUser && geteuid() == 0;
        if (other) {
            ASSERT_EQ(seteuid(kNobody), 0);
        }
        alarmed = 0;
        itimerval every = {{5, 0}, {5, 0}};  // a save that blocks is interrupted, and fails the case
        setitimer(ITIMER_REAL, &every, nullptr);
        EXPECT_EQ(saveAtOnce(c.savers, c.savers > 1 ? 40 : 2), c.saved);
        every = {};
        setitimer(ITIMER_REAL, &every, nullptr);
        EXPECT_FALSE(alarmed) << "the save blocked";
        c.expect(folder);
        if (other) {
            ASSERT_EQ(seteuid(0), 0);
        }
        const std::string said = testing::internal::GetCapturedStderr();
        ASSERT_EQ(chdir(cwd), 0);
        // Only the player's folder says when there is none, and once.
        EXPECT_EQ(said, playerDir.empty() ? "korvex: no home folder is known: settings, preferences and "
                                            "recorded games are not kept\n"
                                          : "");
        if (!playerDir.empty()) {
            fs::permissions(playerDir, fs::perms::owner_all, fs::perm_options::add);
            for (const std::string& name : listing(playerDir)) {
                EXPECT_EQ(name.find(".new"), std::string::npos) << "left behind: " << name;
            }
        }
    }
    playerDir.clear();
    sigaction(SIGALRM, &before, nullptr);
}
