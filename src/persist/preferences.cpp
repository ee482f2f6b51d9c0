// The window preferences file: read leniently (a bad file only means defaults), written whole.
#include "persist/preferences.h"

#include "platform/platform.h"

namespace {

constexpr std::size_t kMaxFileBytes = 4096;  // a real file is a few lines; more is not read
constexpr int kMaxScale = 8;

std::string trimmed(const std::string& text) {
    const char* blanks = " \t\r";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool readScale(const std::string& value, int* scale) {
    if (value.size() != 1 || value[0] < '1' || value[0] > '0' + kMaxScale) return false;
    *scale = value[0] - '0';
    return true;
}

bool readYesNo(const std::string& value, bool* flag) {
    static const struct {
        const char* word;
        bool meaning;
    } kWords[] = {{"yes", true}, {"no", false}, {"true", true}, {"false", false}, {"1", true}, {"0", false}};
    for (const auto& w : kWords) {
        if (value == w.word) {
            *flag = w.meaning;
            return true;
        }
    }
    return false;
}

}  // namespace

Preferences parsePreferences(const std::string& text) {
    Preferences preferences;
    // A byte-order mark, which some editors write, is no part of the first line.
    const std::string byteOrderMark = "\xEF\xBB\xBF";
    std::size_t start = text.compare(0, byteOrderMark.size(), byteOrderMark) == 0 ? byteOrderMark.size() : 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos || trimmed(line).rfind('#', 0) == 0) continue;
        const std::string key = trimmed(line.substr(0, equals));
        const std::string value = trimmed(line.substr(equals + 1));
        if (key == "scale") {
            readScale(value, &preferences.scale);
        } else if (key == "fullscreen") {
            readYesNo(value, &preferences.fullscreen);
        } else if (key == "server" && value.find_first_of(" \t") == std::string::npos) {
            preferences.server = value;
        }
    }
    return preferences;
}

std::string formatPreferences(const Preferences& preferences) {
    std::string text =
        "# Korvex window preferences (the settings and high scores are in korvex.set).\n"
        "# scale: 1 to 8, each pixel drawn N x N; without it, the largest that fits the desktop.\n";
    if (preferences.scale > 0) text += "scale = " + std::to_string(preferences.scale) + "\n";
    text += std::string("fullscreen = ") + (preferences.fullscreen ? "yes" : "no") + "\n";
    // The player's own line, kept through the game's saves of the window's preferences.
    if (!preferences.server.empty()) text += "server = " + preferences.server + "\n";
    return text;
}

Preferences loadPreferences(const std::string& path, bool* unreadable) {
    std::string text;  // empty when there is nothing to read
    const platform::FileRead read = platform::readFile(path, kMaxFileBytes, &text);
    if (unreadable) *unreadable = read == platform::FileRead::Failed;
    return parsePreferences(text);
}
