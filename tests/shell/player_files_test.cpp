// Every file the game writes for the player goes one way (savePlayerFile, then replaceFile): one table
// of what can stand where the file goes. Whatever stands there, a save changes nothing but the one file
// it may write, keeps links, kinds and modes, and makes its folders private.
#include "persist/player_files.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "shell/shell.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

constexpr uid_t kNobody = 65534;
volatile sig_atomic_t alarmed = 0;

// The bytes saver `k` writes: large enough that two savers' writes overlap.
std::string content(int k) {
    return std::string(16 * 1024, static_cast<char>('a' + k));
}

void plantOld(const std::string& path, fs::perms mode) {
    testing_support::writeFile(path, "old");
    fs::permissions(path, mode);
}

// The scratch folder and the player's folder, open to the other user a case may save as.
void openToOthers(const std::string& folder) {
    fs::permissions(folder, fs::perms::all);
    fs::permissions(folder + "player", fs::perms::all);
}

// Every entry below `folder`: its kind, and its mode unless it is a link.
std::map<std::string, std::pair<fs::file_type, fs::perms>> tree(const std::string& folder) {
    std::map<std::string, std::pair<fs::file_type, fs::perms>> entries;
    for (const auto& entry :
         fs::recursive_directory_iterator(folder, fs::directory_options::skip_permission_denied)) {
        const fs::file_status status = entry.symlink_status();
        entries[entry.path().string().substr(folder.size())] = {
            status.type(), status.type() == fs::file_type::symlink ? fs::perms::none : status.permissions()};
    }
    return entries;
}

struct FileCase {
    const char* what;
    const char* player;  // the player's folder below the scratch folder; "" for none
    void (*plant)(const std::string& folder);
    bool asOtherUser;  // root writes even a read-only file: such a save is made as another user
    int savers;        // copies of the game saving the file at once, many times each
    bool saved;
    const char* holder;  // the file that holds the saved bytes, or still "old" (null: not to be read)
};

// clang-format off
const FileCase kCases[] = {
    {"no player folder: nothing lands in the current folder", "", nullptr, false, 1, false, nullptr},
    {"first save: the folder is made, private", "home/.local/share/korvex/", nullptr, false, 1, true,
     "home/.local/share/korvex/korvex.conf"},
    {"a link: its target is replaced, its mode kept", "player/", [](const std::string& f) {
         plantOld(f + "elsewhere", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
         fs::create_symlink("../elsewhere", f + "player/korvex.conf"); }, false, 1, true, "elsewhere"},
    {"a chain of links to a file not there yet: its end is made", "player/", [](const std::string& f) {
         fs::create_symlink("one", f + "player/korvex.conf");
         fs::create_symlink("two", f + "player/one");
         fs::create_symlink(f + "end", f + "player/two"); }, false, 1, true, "end"},
    {"a read-only file is refused", "player/", [](const std::string& f) {
         plantOld(f + "player/korvex.conf", fs::perms::owner_read);
         openToOthers(f);
         if (geteuid() == 0) { ASSERT_EQ(chown((f + "player/korvex.conf").c_str(), kNobody, kNobody), 0); } },
     true, 1, false, "player/korvex.conf"},
    {"a FIFO is refused without waiting for a reader", "player/", [](const std::string& f) {
         ASSERT_EQ(mkfifo((f + "player/korvex.conf").c_str(), 0600), 0); }, false, 1, false, nullptr},
    {"two copies saving at once: every save whole", "player/", nullptr, false, 2, true, "player/korvex.conf"},
    {"a folder that cannot be synced: the file in place is a save", "player/", [](const std::string& f) {
         openToOthers(f);
         fs::permissions(f + "player", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
                         fs::perm_options::remove); }, true, 1, true, "player/korvex.conf"},
};
// clang-format on

// Each saver saves its own bytes `rounds` times, the first in this process, the others in children;
// true when every save of every saver succeeded.
bool saveAtOnce(int savers, int rounds) {
    std::vector<pid_t> children;
    for (int k = 1; k < savers; ++k) {
        const pid_t child = fork();
        if (child == 0) {
            bool all = true;
            for (int r = 0; r < rounds; ++r) all = savePlayerFile("korvex.conf", content(k)) && all;
            _exit(all ? 0 : 1);
        }
        children.push_back(child);
    }
    bool all = true;
    for (int r = 0; r < rounds; ++r) all = savePlayerFile("korvex.conf", content(0)) && all;
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
    const fs::path cwd = fs::current_path();
    for (const FileCase& c : kCases) {
        SCOPED_TRACE(c.what);
        testing_support::ScratchFolder scratch;
        const std::string folder = scratch.path + "/";
        findDirectories();
        playerDir = c.player[0] ? folder + c.player : std::string();
        if (c.player == std::string("player/")) fs::create_directory(playerDir);
        if (c.plant) c.plant(folder);
        const auto planted = tree(folder);
        fs::current_path(folder);  // where a relative name would land
        const uid_t me = geteuid();
        ASSERT_EQ(seteuid(c.asOtherUser && me == 0 ? kNobody : me), 0);
        alarmed = 0;
        itimerval every = {{5, 0}, {5, 0}};  // a save that blocks is interrupted, and fails the case
        setitimer(ITIMER_REAL, &every, nullptr);
        EXPECT_EQ(saveAtOnce(c.savers, c.savers > 1 ? 40 : 2), c.saved);
        every = {};
        setitimer(ITIMER_REAL, &every, nullptr);
        if (c.saved) {  // a move goes the same way
            EXPECT_TRUE(platform::moveFile(playerDir + "korvex.conf", playerDir + "moved"));
            EXPECT_TRUE(platform::moveFile(playerDir + "moved", playerDir + "korvex.conf"));
        }
        ASSERT_EQ(seteuid(me), 0);
        fs::current_path(cwd);
        EXPECT_FALSE(alarmed) << "the save blocked";
        if (c.holder) {
            const std::string held = testing_support::readFile(folder + c.holder);
            EXPECT_TRUE(c.saved ? held == content(0) || held == content(c.savers - 1) : held == "old");
        }
        // Nothing but the holder and the folders to it is new; everything planted keeps kind and mode.
        for (const auto& [name, kindAndMode] : tree(folder)) {
            const auto was = planted.find(name);
            if (was != planted.end()) {
                EXPECT_EQ(kindAndMode, was->second) << name;
            } else if (kindAndMode.first == fs::file_type::directory) {
                EXPECT_EQ(kindAndMode.second, fs::perms::owner_all) << name;
            } else {
                EXPECT_EQ(name, c.holder ? c.holder : "") << "a file left behind";
            }
        }
        if (fs::exists(folder + "player")) {  // to remove it
            fs::permissions(folder + "player", fs::perms::owner_all, fs::perm_options::add);
        }
    }
    playerDir.clear();
    sigaction(SIGALRM, &before, nullptr);
}
