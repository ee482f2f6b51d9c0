// The player's window preferences: korvex.conf beside the settings file, `key = value` lines. Kept
// apart from the 211-byte settings file, which stays as it is.
#pragma once

#include <string>
#include <utility>

struct Preferences {
    int scale = 0;            // 1 to 8; 0: the largest that fits the desktop
    bool fullscreen = false;  // start in full screen
    std::string server;       // the score service --submit sends to; empty: none
    Preferences(int scale = 0, bool fullscreen = false, std::string server = "")
        : scale(scale), fullscreen(fullscreen), server(std::move(server)) {}
    bool operator==(const Preferences& o) const {
        return scale == o.scale && fullscreen == o.fullscreen && server == o.server;
    }
    bool operator!=(const Preferences& o) const { return !(*this == o); }
};

constexpr const char* kPreferencesName = "korvex.conf";

// The preferences a file's text holds. A line that is not `key = value` with a known key and a good
// value leaves its default; unknown keys and lines starting with '#' are ignored.
Preferences parsePreferences(const std::string& text);

// The file's text for `preferences` (saved as every player's file is, by savePlayerFile);
// parsePreferences reads it back the same.
std::string formatPreferences(const Preferences& preferences);

// The preferences in the file at `path`; the defaults when it is missing or unreadable. `unreadable`
// (when given) tells a file that is there but could not be read, which a save must then not replace.
Preferences loadPreferences(const std::string& path, bool* unreadable = nullptr);
