// The command line: what the player asked for, or why the game must not start.
#pragma once

#include <string>

struct Options {
    int scale = 0;           // --scale: 1 to 8; 0 = the largest that fits the desktop
    int fullscreen = -1;     // 1 = --fullscreen, 0 = --window, -1 = as the preferences say
    std::string replayFile;  // --replay: watch this recorded game
    int speed = 1;           // --speed: 1 to 16, the pace of a replay
    std::string verifyFile;  // --verify: check this recorded game headless
    std::string submitFile;  // --submit: send this recorded game to a score service
    std::string name;        // --name: the name it is entered under
    std::string server;      // --server: the score service's address; else korvex.conf's
    bool help = false;       // --help
    bool version = false;    // --version
};

// Fills `options` from the arguments after the program name; false with a one-line `error` for an
// unknown option, a missing value, a value out of range, more than one of --replay, --verify and --submit,
// --submit without --name, or --name or --server without --submit.
bool parseOptions(int argc, const char* const* argv, Options& options, std::string& error);

// The text --help prints: every option, the files the game reads and writes, the controls.
std::string usageText();

// The version --version prints.
const char* versionText();
