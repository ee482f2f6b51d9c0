// The settings and high-score record and its 211-byte file in the data folder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr int kHighScoreCount = 5;
constexpr int kNameFieldSize = 30;
constexpr std::size_t kSettingsFileSize = 211;

struct Settings {
    std::uint16_t reserved0 = 0;
    std::int16_t difficulty = 0;  // 0, 1 or 2
    std::uint16_t reserved4 = 0;
    char highScoreNames[kHighScoreCount][kNameFieldSize] = {};  // entry 0 is the best
    std::int32_t highScores[kHighScoreCount] = {};              // sorted best first; 0 = empty
    std::uint8_t soundOn = 1;
    std::uint8_t reserved177 = 1;
    std::uint16_t reserved178 = 35;
    char reservedText[30] = {'B', 'r', 'a', 's', 'k'};
    std::uint8_t reserved210 = 0;
};

extern Settings settings;

// The settings file's full path: playerDir + "korvex.set"; empty when there is no playerDir.
std::string settingsPath();

// Fills `record` from the settings file, field by field as far as the file goes; a missing or
// unreadable file leaves it unchanged.
void loadSettings(Settings& record);

// False while a settings file that was there but could not be read at load is still there: nothing
// that belongs to its table (the file itself, the high scores' recordings) may then be changed.
bool settingsMayBeSaved();

// Writes `record` to the settings file as every save of the player's files goes (savePlayerFile: the
// player's folder made first, the old file never destroyed). On failure, and while settingsMayBeSaved
// is false, shows "error in settings file" and writes nothing.
void saveSettings(const Settings& record);

// The 211 bytes of `record` as the file holds them, and the reverse (a short input fills the fields
// it covers; bytes past 211 are ignored).
std::string encodeSettings(const Settings& record);
void decodeSettings(const std::string& bytes, Settings& record);
