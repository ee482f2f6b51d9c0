// Path splitting and batch text of the uninstaller. Paths are 8-bit strings in the system code page, so every
// search for a separator steps over double-byte characters whole.
#include "uninstall_logic.h"

#include <cctype>
#include <cstdio>
#include <vector>

namespace uninstaller {

const char kBatchPath[] = "\\DelUS.bat";
const char kBatchFormat[] =
    ":Repeat\r\n"
    "del \"%s\"\r\n"
    "if exist \"%s\" goto Repeat\r\n"
    "del \"%s\\*.*\" /F /S /Q\r\n"
    "rmdir \"%s\"\r\n"
    "del \"%s\"\r\n";

const char kGameMutex[] = "KORVEX";

std::string batchSecurity(const std::string& userSid) {
    return "D:P(A;;FA;;;" + userSid + ")";
}

bool noLeadBytes(unsigned char) {
    return false;
}

namespace {

enum class Separators { backslashOnly, backslashOrSlash };

bool isSeparator(char c, Separators accepted) {
    return c == '\\' || (accepted == Separators::backslashOrSlash && c == '/');
}

// Index of the last separator that is a character of its own (not the second byte of a double-byte
// character), or npos.
std::size_t lastSeparator(const std::string& text, Separators accepted, LeadBytePredicate isLeadByte) {
    std::size_t found = std::string::npos;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isLeadByte(static_cast<unsigned char>(text[i]))) {
            ++i;  // the trail byte belongs to this character
        } else if (isSeparator(text[i], accepted)) {
            found = i;
        }
    }
    return found;
}

bool hasDriveDesignator(const std::string& path) {
    return path.size() >= 2 && path[1] == ':';
}

// The names between backslashes, empty ones left out; double-byte characters stay whole.
std::vector<std::string> namesOf(const std::string& path, LeadBytePredicate isLeadByte) {
    std::vector<std::string> names;
    std::size_t i = 0;
    while (i < path.size()) {
        if (path[i] == '\\') {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < path.size() && path[i] != '\\') {
            i += isLeadByte(static_cast<unsigned char>(path[i])) ? 2 : 1;
        }
        names.push_back(path.substr(start, i - start));
    }
    return names;
}

// "\\?\UNC\server\share" and "\\.\UNC\server\share" are "\\server\share" written for the device namespace.
bool isUncDevicePath(const std::string& folderPath) {
    std::string head = folderPath.substr(0, 8);
    for (char& c : head) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return head == "\\\\?\\UNC\\" || head == "\\\\.\\UNC\\";
}

// How many leading names of a folder path name the drive or share itself.
std::size_t rootNameCount(const std::string& folderPath) {
    if (isUncDevicePath(folderPath)) return 4;            // ?, UNC, server, share
    if (folderPath.compare(0, 2, "\\\\") == 0) return 2;  // server, share; or ?, and a device such as D:
    return hasDriveDesignator(folderPath) ? 1 : 0;
}

}  // namespace

std::string folderPartOf(const std::string& ownPath, LeadBytePredicate isLeadByte) {
    std::string path = hasDriveDesignator(ownPath) ? ownPath.substr(2) : ownPath;
    std::size_t last = lastSeparator(path, Separators::backslashOrSlash, isLeadByte);
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

std::string keyNameOf(const std::string& folderPart, LeadBytePredicate isLeadByte) {
    std::string folder = folderPart;
    if (!folder.empty() &&
        lastSeparator(folder, Separators::backslashOnly, isLeadByte) == folder.size() - 1) {
        folder.pop_back();
    }
    // A backslash at index 0 and no backslash at all both leave the folder without its first character.
    std::size_t last = lastSeparator(folder, Separators::backslashOnly, isLeadByte);
    std::size_t start = (last == std::string::npos || last == 0) ? 1 : last + 1;
    return start > folder.size() ? std::string() : folder.substr(start);
}

std::string folderPathOf(const std::string& ownPath, LeadBytePredicate isLeadByte) {
    std::size_t last = lastSeparator(ownPath, Separators::backslashOnly, isLeadByte);
    return last == std::string::npos ? ownPath : ownPath.substr(0, last);
}

bool isRootFolder(const std::string& keyName, const std::string& folderPath, LeadBytePredicate isLeadByte) {
    return keyName.empty() || namesOf(folderPath, isLeadByte).size() <= rootNameCount(folderPath);
}

std::string escapeForBatch(const std::string& path) {
    std::string escaped;
    escaped.reserve(path.size());
    for (char c : path) {
        if (c == '%') escaped += '%';
        escaped += c;
    }
    return escaped;
}

bool buildBatchText(const std::string& ownPath, const std::string& folderPath, std::string* text) {
    const std::string own = escapeForBatch(ownPath);
    const std::string folder = escapeForBatch(folderPath);
    char buffer[kBatchCapacity];
    int length = std::snprintf(buffer, sizeof buffer, kBatchFormat, own.c_str(), own.c_str(), folder.c_str(),
                               folder.c_str(), kBatchPath);
    if (length < 0 || static_cast<std::size_t>(length) >= sizeof buffer) return false;
    text->assign(buffer, static_cast<std::size_t>(length));
    return true;
}

UninstallPlan planUninstall(const std::string& ownPath, LeadBytePredicate isLeadByte) {
    UninstallPlan plan;
    std::string keyName = keyNameOf(folderPartOf(ownPath, isLeadByte), isLeadByte);
    std::string folderPath = folderPathOf(ownPath, isLeadByte);
    if (isRootFolder(keyName, folderPath, isLeadByte)) {
        plan.refusal = Refusal::rootFolder;
    } else if (!buildBatchText(ownPath, folderPath, &plan.batchText)) {
        plan.refusal = Refusal::batchTooLong;
    } else {
        plan.keyName = keyName;
        plan.folderPath = folderPath;
    }
    return plan;
}

}  // namespace uninstaller
