// --submit: nothing here opens a window; the only network contact of the game, and only when asked.
#include "shell/submit.h"

#include <cstdlib>
#include <cstring>

#include "persist/key_table.h"
#include "persist/player_files.h"
#include "persist/preferences.h"
#include "platform/platform.h"
#include "shell/shell.h"

namespace {

constexpr std::size_t kMaxNameLength = 10;
constexpr std::size_t kMaxRecording = 1 << 20;  // what the table takes

// JSON's four hex digits of \uXXXX as UTF-8 (pairs of surrogates joined).
void appendCodePoint(unsigned long code, std::string* out) {
    if (code < 0x80) {
        *out += static_cast<char>(code);
    } else if (code < 0x800) {
        *out += static_cast<char>(0xC0 | (code >> 6));
        *out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        *out += static_cast<char>(0xE0 | (code >> 12));
        *out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        *out += static_cast<char>(0xF0 | (code >> 18));
        *out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        *out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool readHex4(const std::string& text, std::size_t at, unsigned long* code) {
    if (at + 4 > text.size()) return false;
    char digits[5] = {text[at], text[at + 1], text[at + 2], text[at + 3], 0};
    char* end = nullptr;
    *code = std::strtoul(digits, &end, 16);
    return end == digits + 4;
}

// A JSON string starting at the quote `text[*at]`; `*at` ends past its closing quote.
bool readString(const std::string& text, std::size_t* at, std::string* out) {
    out->clear();
    for (std::size_t i = *at + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') return *at = i + 1, true;
        if (c != '\\') {
            *out += c;
            continue;
        }
        if (++i >= text.size()) return false;
        const char* kPlain = "\"\\/bfnrt";
        const char* kMeant = "\"\\/\b\f\n\r\t";
        if (const char* found = std::strchr(kPlain, text[i]); found && *found) {
            *out += kMeant[found - kPlain];
        } else if (text[i] == 'u') {
            unsigned long code = 0;
            if (!readHex4(text, i + 1, &code)) return false;
            i += 4;
            unsigned long low = 0;
            if (code >= 0xD800 && code < 0xDC00 && text.compare(i + 1, 2, "\\u") == 0 &&
                readHex4(text, i + 3, &low) && low >= 0xDC00 && low < 0xE000) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                i += 6;
            }
            appendCodePoint(code, out);
        } else {
            return false;
        }
    }
    return false;
}

void skipBlanks(const std::string& text, std::size_t* at) {
    while (*at < text.size() && std::strchr(" \t\r\n", text[*at]) && text[*at]) ++*at;
}

// Capitalised, as the game's menu names them.
std::string difficultyWord(const std::string& name) {
    if (name.empty()) return "?";
    std::string word = name;
    if (word[0] >= 'a' && word[0] <= 'z') word[0] = static_cast<char>(word[0] - 'a' + 'A');
    return word;
}

}  // namespace

bool jsonField(const std::string& json, const std::string& key, std::string* value) {
    std::size_t at = 0;
    skipBlanks(json, &at);
    if (at >= json.size() || json[at] != '{') return false;
    ++at;
    for (;;) {
        skipBlanks(json, &at);
        std::string name;
        if (at >= json.size() || json[at] != '"' || !readString(json, &at, &name)) return false;
        skipBlanks(json, &at);
        if (at >= json.size() || json[at] != ':') return false;
        ++at;
        skipBlanks(json, &at);
        if (at >= json.size()) return false;
        std::string found;
        if (json[at] == '"') {
            if (!readString(json, &at, &found)) return false;
        } else if (json[at] == '{' || json[at] == '[') {
            return false;  // the answers read here are flat
        } else {
            const std::size_t end = json.find_first_of(",} \t\r\n", at);
            if (end == std::string::npos) return false;
            found = json.substr(at, end - at);
            at = end;
        }
        if (name == key) return *value = found, true;
        skipBlanks(json, &at);
        if (at >= json.size() || json[at] != ',') return false;
        ++at;
    }
}

std::string submitUrl(const std::string& server, const std::string& name) {
    std::string base = server;
    while (!base.empty() && base.back() == '/') base.pop_back();
    std::string url = base + "/api/v1/games?name=";
    static const char kHex[] = "0123456789ABCDEF";
    for (const unsigned char c : name) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            std::strchr("-._~", c)) {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        }
    }
    return url;
}

bool typeableName(const std::string& name) {
    if (name.empty() || name.size() > kMaxNameLength) return false;
    for (const char c : name) {
        bool typed = false;
        for (const Key& key : kKeys) {
            const auto code = static_cast<std::uint8_t>(c);
            typed = typed || (key.smallCase >= ' ' && (key.smallCase == code || key.largeCase == code));
        }
        if (!typed) return false;
    }
    return true;
}

SubmitResult readSubmitAnswer(const std::string& server, int status, const std::string& body,
                              const std::string& failure) {
    SubmitResult result;
    result.error = true;
    std::string reason, rank, difficulty, score;
    jsonField(body, "error", &reason);
    if (status == 0) {
        result.line = "korvex: no score service reached at " + server + ": " + failure;
        return result;
    }
    if (status == 201 || status == 200) {
        if (!jsonField(body, "difficulty", &difficulty) || !jsonField(body, "score", &score) ||
            !jsonField(body, "rank", &rank)) {
            result.line = "korvex: " + server + " is not a score service (its answer makes no sense)";
            return result;
        }
        result.error = false;
        result.exitCode = 0;
        const std::string place = rank == "null" ? "" : "#" + rank;
        if (status == 201) {
            result.line = "Entered at " + place + " on " + difficultyWord(difficulty) + ": score " + score;
        } else {
            result.line = rank == "null" ? "Already sent, and not shown in the table"
                                         : "Already in the table (" + place + ")";
        }
        return result;
    }
    if (reason.empty()) reason = "it answered " + std::to_string(status);
    if (status == 422 || status == 413) {
        result.error = false;
        result.exitCode = 1;
        result.line = "Refused: " + reason;
    } else if (status == 400) {
        result.line = "korvex: the server did not take the request: " + reason;
    } else if (status == 429 || status == 503) {
        result.line = "korvex: not sent, the server is busy: " + reason;
    } else {
        result.line = "korvex: " + server + " did not take the game: " + reason;
    }
    return result;
}

int runSubmit(const Options& options) {
    auto fail = [](const std::string& why) {
        platform::reportText("korvex: " + why + "\n", true);
        return 2;
    };
    if (!typeableName(options.name)) {
        return fail("--name must be 1 to 10 characters the game's keyboard can type, not '" + options.name +
                    "'");
    }
    std::string server = options.server;
    if (server.empty()) {
        findDirectories();
        if (!playerDir.empty()) server = loadPreferences(playerDir + kPreferencesName).server;
    }
    if (server.empty()) {
        return fail("no score service is known: give --server URL, or put a line server = URL in " +
                    std::string(kPreferencesName));
    }
    if (server.rfind("http://", 0) != 0 && server.rfind("https://", 0) != 0) {
        return fail("the server must be an http:// or https:// address, not '" + server + "'");
    }
    std::string bytes;
    switch (platform::readFile(options.submitFile, kMaxRecording, &bytes)) {
        case platform::FileRead::Whole:
            break;
        case platform::FileRead::Cut:
            return fail(options.submitFile + " is larger than any recorded game");
        case platform::FileRead::Missing:
            return fail("no file " + options.submitFile);
        default:
            return fail("cannot read " + options.submitFile);
    }
    if (bytes.empty()) return fail(options.submitFile + " is empty");
    const platform::HttpAnswer answer = platform::postBytes(submitUrl(server, options.name), bytes);
    const SubmitResult result = readSubmitAnswer(server, answer.status, answer.body, answer.error);
    platform::reportText(result.line + "\n", result.error);
    return result.exitCode;
}
