// The command line, read as a table of options.
#include "shell/command_line.h"

#include <cstdlib>
#include <cstring>

namespace {

enum class Takes { Nothing, Number, Path };

struct OptionRow {
    const char* name;
    Takes takes;
    int low, high;  // the range of a number
    void (*apply)(Options&, const char* value, int number);
};

const OptionRow kRows[] = {
    {"--help", Takes::Nothing, 0, 0, [](Options& o, const char*, int) { o.help = true; }},
    {"--version", Takes::Nothing, 0, 0, [](Options& o, const char*, int) { o.version = true; }},
    {"--scale", Takes::Number, 1, 8, [](Options& o, const char*, int n) { o.scale = n; }},
    {"--fullscreen", Takes::Nothing, 0, 0, [](Options& o, const char*, int) { o.fullscreen = 1; }},
    {"--window", Takes::Nothing, 0, 0, [](Options& o, const char*, int) { o.fullscreen = 0; }},
    {"--replay", Takes::Path, 0, 0, [](Options& o, const char* v, int) { o.replayFile = v; }},
    {"--speed", Takes::Number, 1, 16, [](Options& o, const char*, int n) { o.speed = n; }},
    {"--verify", Takes::Path, 0, 0, [](Options& o, const char* v, int) { o.verifyFile = v; }},
    {"--submit", Takes::Path, 0, 0, [](Options& o, const char* v, int) { o.submitFile = v; }},
    {"--name", Takes::Path, 0, 0, [](Options& o, const char* v, int) { o.name = v; }},
    {"--server", Takes::Path, 0, 0, [](Options& o, const char* v, int) { o.server = v; }},
};

// A whole decimal number in [low, high]; anything else is refused.
bool readNumber(const char* text, int low, int high, int& number) {
    if (!*text || std::strlen(text) > 3) return false;
    for (const char* c = text; *c; ++c) {
        if (*c < '0' || *c > '9') return false;
    }
    number = std::atoi(text);
    return number >= low && number <= high;
}

// What --help prints, a paragraph a row.
const char* const kUsageParagraphs[] = {
    "Usage: korvex [OPTION]...\n"
    "A vertical space shooter.\n",

    "Options:\n"
    "  --scale N        draw every pixel N x N (1 to 8; default: the largest that fits)\n"
    "  --fullscreen     start in full screen\n"
    "  --window         start in a window\n"
    "  --replay FILE    watch a recorded game\n"
    "  --speed N        watch it N times faster (1 to 16)\n"
    "  --verify FILE    check a recorded game without showing it; exit 0 if it holds\n"
    "  --submit FILE --name NAME [--server URL]\n"
    "                   send a recorded game to a public score table under NAME and\n"
    "                   print its answer; the server is URL or korvex.conf's server = URL\n"
    "  --help           show this text and exit\n"
    "  --version        show the version and exit\n",

    "The scale and full screen or not are kept in korvex.conf beside the settings file:\n"
    "--scale, --fullscreen, --window and F11 change them for the next start too.\n",

    "Controls:\n"
    "  Left, Right      move the ship (gamepad: stick or hat)\n"
    "  Up, Left Ctrl    fire (gamepad: any face button)\n"
    "  P, Pause         pause a level; P, Pause, Space or a click plays on\n"
    "  Escape           the menu during play (gamepad: Start); back on the other screens\n"
    "  arrows, Enter    choose and press a button on every screen (gamepad: stick, first button,\n"
    "                   second button goes back)\n"
    "  keyboard         type the name of a new high score; Backspace deletes, Enter ends\n"
    "  mouse            click the buttons of every screen; MENU at the bottom during play\n"
    "  F11, Alt+Enter   full screen, and back to the window\n",

    "Files:\n"
    "  The settings and scores korvex.set, the preferences korvex.conf and the recorded\n"
    "  games last.kvr and score-1.kvr to score-5.kvr are kept\n"
    "  - installed (data in ../share/korvex/): in $XDG_DATA_HOME/korvex/,\n"
    "    by default ~/.local/share/korvex/\n"
    "  - installed on Windows (data beside korvex.exe): in %APPDATA%\\Korvex\\\n"
    "  - portable (data/ beside the program): in data/\n",

    "Exit status: 0; 2 for a bad command line. With --verify: 0 when the recording holds,\n"
    "1 when it does not, 2 for a file that is not a recorded game. With --submit: 0 when\n"
    "the game was entered or is there already, 1 when the table refused it, 2 when no\n"
    "server took it (none reached, or busy: try again later).\n",

    "The game reaches no network by itself: only --submit does, and only to the server given.\n",
};

}  // namespace

bool parseOptions(int argc, const char* const* argv, Options& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        const char* value = nullptr;
        // "--scale=3" and "--scale 3" are the same.
        const std::size_t equals = name.find('=');
        if (equals != std::string::npos) {
            value = argv[i] + equals + 1;
            name.resize(equals);
        }
        const OptionRow* row = nullptr;
        for (const OptionRow& r : kRows) {
            if (name == r.name) row = &r;
        }
        if (!row) {
            error = "unknown option '" + std::string(argv[i]) + "'";
            return false;
        }
        if (row->takes == Takes::Nothing) {
            if (value) {
                error = name + " takes no value";
                return false;
            }
            row->apply(options, nullptr, 0);
            continue;
        }
        if (!value) {
            if (i + 1 >= argc) {
                error = name + " needs a value";
                return false;
            }
            value = argv[++i];
        }
        int number = 0;
        if (row->takes == Takes::Number && !readNumber(value, row->low, row->high, number)) {
            error = name + " must be a whole number from " + std::to_string(row->low) + " to " +
                    std::to_string(row->high) + ", not '" + value + "'";
            return false;
        }
        if (row->takes == Takes::Path && !*value) {
            error = name + " needs a file name";
            return false;
        }
        row->apply(options, value, number);
    }
    const int commands =
        !options.replayFile.empty() + !options.verifyFile.empty() + !options.submitFile.empty();
    if (commands > 1) {
        error = "--replay, --verify and --submit cannot be used together: watch, verify or send one game";
        return false;
    }
    if (options.submitFile.empty() && (!options.name.empty() || !options.server.empty())) {
        error = "--name and --server go with --submit FILE";
        return false;
    }
    if (!options.submitFile.empty() && options.name.empty()) {
        error = "--submit needs --name NAME, the name the game is entered under";
        return false;
    }
    return true;
}

std::string usageText() {
    std::string text;
    for (const char* paragraph : kUsageParagraphs) {
        if (!text.empty()) text += "\n";
        text += paragraph;
    }
    return text;
}

const char* versionText() {
    return "korvex " KORVEX_VERSION;
}
