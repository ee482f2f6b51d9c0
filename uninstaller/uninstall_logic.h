// What the uninstaller removes, decided without touching Windows: the registry key and folder that belong to
// the running program, whether that target is too dangerous to remove, and the batch text that removes it.
#pragma once

#include <cstddef>
#include <string>

namespace uninstaller {

// Tells whether a byte starts a double-byte character in the system code page; the byte after a lead byte is
// part of the same character even when it looks like a backslash.
using LeadBytePredicate = bool (*)(unsigned char byte);

// The predicate for single-byte code pages.
bool noLeadBytes(unsigned char byte);

constexpr std::size_t kOwnPathCapacity = 260;  // GetModuleFileNameA buffer, terminator included
constexpr std::size_t kBatchCapacity = 992;    // the batch text plus a terminator must fit
extern const char kBatchPath[];                // "\DelUS.bat" in the root of the current drive
extern const char kBatchFormat[];              // own path, own path, folder path, folder path, batch path
extern const char kGameMutex[];                // held by the game while it runs

// The batch file's security descriptor in the system's descriptor language: a protected DACL that lets
// only the user with the string SID `userSid` (the one running us) at it. The batch runs elevated and
// reads itself line by line, so no other user may add a line, wherever the drive's root lets them write.
std::string batchSecurity(const std::string& userSid);

// The own path without drive designator and file name, up to and including its last backslash or slash,
// for example "\Apps\Demo\".
std::string folderPartOf(const std::string& ownPath, LeadBytePredicate isLeadByte);

// The last component of a folder part: the name of the product's key below the Uninstall key.
std::string keyNameOf(const std::string& folderPart, LeadBytePredicate isLeadByte);

// The own path cut at its last backslash: the folder without a trailing backslash, for example
// "D:\Apps\Demo".
std::string folderPathOf(const std::string& ownPath, LeadBytePredicate isLeadByte);

// True when the target is the root of a drive or of a network share, however it is spelled ("D:",
// "\\?\D:", "\\server\share", "\\?\UNC\server\share"): there the key name would select the whole
// Uninstall key, or another product's key, and the batch would empty the whole drive or share.
bool isRootFolder(const std::string& keyName, const std::string& folderPath, LeadBytePredicate isLeadByte);

// Doubles every "%", which the command interpreter would otherwise drop or expand inside a batch file.
std::string escapeForBatch(const std::string& path);

// Formats the six batch lines; false (and text untouched) when they would not fit kBatchCapacity.
bool buildBatchText(const std::string& ownPath, const std::string& folderPath, std::string* text);

enum class Refusal { none, rootFolder, batchTooLong };

struct UninstallPlan {
    Refusal refusal = Refusal::none;
    std::string keyName;     // set when refusal is none
    std::string folderPath;  // set when refusal is none
    std::string batchText;   // set when refusal is none
};

// Everything the uninstaller will do for the given own path; a refused plan must change nothing at all.
UninstallPlan planUninstall(const std::string& ownPath, LeadBytePredicate isLeadByte);

}  // namespace uninstaller
