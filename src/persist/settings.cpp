// The settings file: 211 bytes, fields in order, little-endian, no header. A save never destroys
// the previous file: the new bytes go to a temporary file that replaces the old one only when whole.
#include "persist/settings.h"

#include <cstdio>
#include <cstring>

#include "persist/player_files.h"
#include "platform/platform.h"

Settings settings;

namespace {

constexpr const char* kFileName = "korvex.set";
constexpr const char* kSaveError = "error in settings file";

// Walks the record's fields in file order; the same walk serves reading and writing.
template <typename Record, typename Visit>
void forEachField(Record& r, Visit visit) {
    visit(&r.reserved0, sizeof r.reserved0);
    visit(&r.difficulty, sizeof r.difficulty);
    visit(&r.reserved4, sizeof r.reserved4);
    for (auto& name : r.highScoreNames) visit(name, sizeof name);
    for (auto& score : r.highScores) visit(&score, sizeof score);
    visit(&r.soundOn, sizeof r.soundOn);
    visit(&r.reserved177, sizeof r.reserved177);
    visit(&r.reserved178, sizeof r.reserved178);
    visit(r.reservedText, sizeof r.reservedText);
    visit(&r.reserved210, sizeof r.reserved210);
}

// Integers are stored little-endian whatever the machine; byte fields and texts as they are.
void toLittleEndian(const void* field, std::size_t size, char* out) {
    std::uint32_t value = 0;
    if (size == 2) {
        std::uint16_t v16;
        std::memcpy(&v16, field, 2);
        value = v16;
    } else if (size == 4) {
        std::memcpy(&value, field, 4);
    } else {
        std::memcpy(out, field, size);
        return;
    }
    for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<char>(value >> (8 * i));
}

void fromLittleEndian(const char* in, std::size_t size, void* field) {
    if (size != 2 && size != 4) {
        std::memcpy(field, in, size);
        return;
    }
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i)
        value |= std::uint32_t{static_cast<unsigned char>(in[i])} << (8 * i);
    if (size == 2) {
        const auto v16 = static_cast<std::uint16_t>(value);
        std::memcpy(field, &v16, 2);
    } else {
        std::memcpy(field, &value, 4);
    }
}

}  // namespace

// Without a player folder (an installed game for a user with no home) there is no file at all.
std::string settingsPath() {
    return playerDir.empty() ? std::string() : playerDir + kFileName;
}

std::string encodeSettings(const Settings& record) {
    std::string bytes;
    forEachField(record, [&](const void* field, std::size_t size) {
        char buffer[30];
        toLittleEndian(field, size, buffer);
        bytes.append(buffer, size);
    });
    return bytes;
}

void decodeSettings(const std::string& bytes, Settings& record) {
    std::size_t at = 0;
    forEachField(record, [&](void* field, std::size_t size) {
        if (at >= bytes.size()) return;
        if (bytes.size() - at >= size) {
            fromLittleEndian(bytes.data() + at, size, field);
        } else {
            // A field cut by the end of the file is filled as far as the bytes go.
            char buffer[30];
            toLittleEndian(field, size, buffer);
            std::memcpy(buffer, bytes.data() + at, bytes.size() - at);
            fromLittleEndian(buffer, size, field);
        }
        at += size;
    });
}

void loadSettings(Settings& record) {
    std::string bytes;
    const platform::FileRead read = platform::readFile(settingsPath(), kSettingsFileSize, &bytes);
    if (read == platform::FileRead::Whole || read == platform::FileRead::Cut) decodeSettings(bytes, record);
}

void saveSettings(const Settings& record) {
    if (!savePlayerFile(kFileName, encodeSettings(record))) {
        platform::messageBox(0, kSaveError, kSaveError, platform::MessageStyle::Ok);
    }
}
