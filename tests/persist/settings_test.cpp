// The 211-byte settings file: exact bytes, partial and long files, and saves that never destroy
// the previous file.
#include "persist/settings.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstring>
#include <filesystem>

#include "persist/player_files.h"
#include "platform/script/script.h"
#include "shell/shell.h"
#include "support/test_support.h"

using testing_support::readFile;
using testing_support::writeFile;

namespace {

std::string defaultBytes() {
    std::string bytes(176, '\0');
    bytes += std::string("\x01\x01\x23\x00", 4);
    bytes += "Brask";
    bytes += std::string(25, '\0');
    bytes += std::string(1, '\0');
    return bytes;
}

Settings unusualRecord() {
    Settings s;
    s.reserved0 = 0xBEEF;
    s.difficulty = 2;
    s.reserved4 = 7;
    std::strcpy(s.highScoreNames[0], "Ada");
    std::memset(s.highScoreNames[4], 'x', kNameFieldSize);  // no terminator at all
    s.highScores[0] = 1234567;
    s.highScores[4] = -5;
    s.soundOn = 0;
    s.reserved177 = 9;
    s.reserved178 = 0x1234;
    std::strcpy(s.reservedText, "Other");
    s.reserved210 = 0xFE;
    return s;
}

class SettingsTest : public testing_support::SdlTest {};

}  // namespace

TEST_F(SettingsTest, DefaultsAreStoredByteForByte) {
    EXPECT_EQ(encodeSettings(Settings{}), defaultBytes());
    EXPECT_FALSE(testing_support::fileExists(settingsPath()));
    saveSettings(settings);
    EXPECT_EQ(readFile(folder_ + "data/korvex.set"), defaultBytes());
}

TEST_F(SettingsTest, FieldsSitAtTheirOffsetsLittleEndian) {
    const std::string bytes = encodeSettings(unusualRecord());
    ASSERT_EQ(bytes.size(), kSettingsFileSize);
    EXPECT_EQ(bytes.substr(0, 6), std::string("\xEF\xBE\x02\x00\x07\x00", 6));
    EXPECT_EQ(bytes.substr(6, 4), std::string("Ada\0", 4));
    EXPECT_EQ(bytes.substr(126, 30), std::string(30, 'x'));
    EXPECT_EQ(bytes.substr(156, 4), std::string("\x87\xD6\x12\x00", 4));
    EXPECT_EQ(bytes.substr(172, 4), std::string("\xFB\xFF\xFF\xFF", 4));
    EXPECT_EQ(bytes.substr(176, 4), std::string("\x00\x09\x34\x12", 4));
    EXPECT_EQ(bytes.substr(180, 6), std::string("Other\0", 6));
    EXPECT_EQ(static_cast<unsigned char>(bytes[210]), 0xFE);
}

TEST_F(SettingsTest, LoadAfterSaveGivesBackEveryFieldReservedOnesIncluded) {
    const Settings original = unusualRecord();
    saveSettings(original);
    Settings loaded;
    loadSettings(loaded);
    EXPECT_EQ(encodeSettings(loaded), encodeSettings(original));
    EXPECT_EQ(loaded.highScores[4], -5);  // negative scores stay negative
}

TEST_F(SettingsTest, AShortFileFillsOnlyTheFieldsItCovers) {
    writeFile(settingsPath(), std::string("\x01\x00\x02\x00\x03\x00", 6));
    Settings loaded;
    loadSettings(loaded);
    EXPECT_EQ(loaded.reserved0, 1);
    EXPECT_EQ(loaded.difficulty, 2);
    EXPECT_EQ(loaded.reserved4, 3);
    EXPECT_EQ(encodeSettings(loaded).substr(6), defaultBytes().substr(6));

    // A field cut by the end of the file is filled as far as the bytes go.
    Settings cut;
    cut.highScores[0] = 0x11223344;
    std::string bytes = defaultBytes().substr(0, 158);
    bytes[156] = '\x99';
    bytes[157] = '\x88';
    decodeSettings(bytes, cut);
    EXPECT_EQ(static_cast<std::uint32_t>(cut.highScores[0]), 0x11228899u);
    EXPECT_EQ(cut.highScores[1], 0);
}

TEST_F(SettingsTest, BytesBeyondTheRecordAreIgnoredAndAMissingFileKeepsTheRecord) {
    Settings kept = unusualRecord();
    loadSettings(kept);  // no file yet
    EXPECT_EQ(encodeSettings(kept), encodeSettings(unusualRecord()));

    writeFile(settingsPath(), encodeSettings(unusualRecord()) + "trailing bytes");
    Settings loaded;
    loadSettings(loaded);
    EXPECT_EQ(encodeSettings(loaded), encodeSettings(unusualRecord()));
}

TEST_F(SettingsTest, AFailedSaveTellsThePlayerAndLeavesTheOldFileWhole) {
    saveSettings(unusualRecord());
    const std::string before = readFile(settingsPath());
    // The new file cannot be written whole: like a full disk.
    rlimit limit;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit full = {100, limit.rlim_max};
    const auto onTooLarge = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
    Settings changed = unusualRecord();
    changed.difficulty = 0;
    saveSettings(changed);
    saveSettings(changed);
    setrlimit(RLIMIT_FSIZE, &limit);
    signal(SIGXFSZ, onTooLarge);
    EXPECT_EQ(readFile(settingsPath()), before);
    EXPECT_EQ(changed.difficulty, 0);
    const auto& shown = platform::script::messages();
    ASSERT_EQ(shown.size(), 2u);  // once per attempted save
    EXPECT_EQ(shown[0].text, "error in settings file");
    EXPECT_EQ(shown[0].caption, "error in settings file");
    EXPECT_EQ(shown[0].style, platform::MessageStyle::Ok);
    EXPECT_EQ(shown[0].owner, 0u);

    saveSettings(changed);  // the next save tries again, and succeeds
    EXPECT_EQ(readFile(settingsPath()), encodeSettings(changed));
    for (const auto& entry : std::filesystem::directory_iterator(playerDir)) {
        EXPECT_EQ(entry.path().filename(), "korvex.set");  // no half-written file left behind
    }
}

TEST_F(SettingsTest, InstalledTheFileLivesInAPrivateFolderOfTheHomeAndAnUnwritableHomeOnlyCostsTheScores) {
    namespace fs = std::filesystem;
    fs::create_directories(folder_ + "share/korvex");
    writeFile(folder_ + "share/korvex/0.pak", "");  // the splash pack marks the installed data
    fs::remove(folder_ + "data");
    platform::script::setProgramPath(folder_ + "bin/korvex");
    platform::script::setUserDataFolder(folder_ + "home/.local/share/");
    findDirectories();
    ASSERT_EQ(playerDir, folder_ + "home/.local/share/korvex/");

    saveSettings(unusualRecord());
    EXPECT_EQ(readFile(playerDir + "korvex.set"), encodeSettings(unusualRecord()));
    for (const char* made : {"home/.local", "home/.local/share", "home/.local/share/korvex"}) {
        EXPECT_EQ(fs::status(folder_ + made).permissions() & fs::perms::all, fs::perms::owner_all) << made;
    }
    // Nothing is written beside the splash pack.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_ + "share/korvex"), fs::directory_iterator()), 1);

    // A home folder where no folder can be made (a file stands in the way), or none at all.
    writeFile(folder_ + "blocked", "");
    for (const std::string& home : {folder_ + "blocked/", std::string()}) {
        platform::script::setUserDataFolder(home);
        findDirectories();
        const std::size_t before = platform::script::messages().size();
        Settings loaded;
        loadSettings(loaded);
        saveSettings(loaded);
        ASSERT_EQ(platform::script::messages().size(), before + 1) << home;  // once per save
        EXPECT_EQ(platform::script::messages().back().text, "error in settings file");
        EXPECT_EQ(encodeSettings(loaded), encodeSettings(Settings{}));
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_ + "share/korvex"), fs::directory_iterator()), 1);
}
