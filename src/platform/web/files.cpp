// The browser build's files. Emscripten's in-memory file system holds everything the game reads: the
// data below /korvex/share/, a recording the page was given, and the player's folder below /save/,
// which the page (saves.js, Module.web.saves) keeps in IndexedDB one record a file. A save reaches
// IndexedDB first and the in-memory copy only once IndexedDB has it, so a save the browser refused
// (site data blocked, the quota full, the store gone) fails as on a full disk, and only the files a
// save names are written or deleted there: a second tab never loses what the other one saved.
// When the page could not read the store at start, the player's files there are unreadable rather
// than missing, and nothing is saved over them.
#include <emscripten.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/platform.h"

namespace platform {
namespace {

constexpr char kStored[] = "/save/";  // userDataFolder (web.cpp): what lies below is kept in IndexedDB

// clang-format off
EM_JS(int, savesReadable, (), {
    return Module.web.saves.readable ? 1 : 0;
});
EM_ASYNC_JS(int, savesPut, (const char* path, const char* bytes, int size), {
    return (await Module.web.saves.put(UTF8ToString(path), HEAPU8.slice(bytes, bytes + size))) ? 1 : 0;
});
EM_ASYNC_JS(int, savesMove, (const char* from, const char* to, const char* bytes, int size), {
    return (await Module.web.saves.move(UTF8ToString(from), UTF8ToString(to),
                                        HEAPU8.slice(bytes, bytes + size))) ? 1 : 0;
});
EM_ASYNC_JS(int, savesRemove, (const char* path), {
    return (await Module.web.saves.remove(UTF8ToString(path))) ? 1 : 0;
});
// clang-format on

bool isStored(const std::string& path) {
    return path.compare(0, sizeof kStored - 1, kStored) == 0;
}

// The store cannot be read, or its file cannot be written: stored files are then left as they are.
bool storeUnavailable(const std::string& path) {
    return isStored(path) && savesReadable() == 0;
}

bool isRegularFile(const std::string& path, bool* exists, std::size_t* size = nullptr) {
    struct stat info;
    *exists = ::stat(path.c_str(), &info) == 0;
    if (size) *size = *exists ? static_cast<std::size_t>(info.st_size) : 0;
    return *exists && S_ISREG(info.st_mode);
}

// The in-memory copy, replaced whole under a temporary name: never half a file.
bool writeMemoryCopy(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".new";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) return false;
    const bool wrote = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !wrote || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool folderExists(const std::string& path) {
    struct stat info;
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The in-memory file system takes a file in any folder; whether the store keeps it is the save's answer.
bool folderWritable(const std::string& path) {
    return folderExists(path);
}

bool makePrivateFolder(const std::string& path) {
    if (path.empty()) return false;
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        ::mkdir(path.substr(0, slash).c_str(), 0700);
    }
    ::mkdir(path.c_str(), 0700);
    return folderExists(path);  // IndexedDB keeps files only: a folder is made again at the next start
}

FileRead readFile(const std::string& path, std::size_t limit, std::string* bytes) {
    bytes->clear();
    if (storeUnavailable(path)) return FileRead::Failed;
    bool exists = false;
    std::size_t size = 0;
    if (!isRegularFile(path, &exists, &size)) return exists ? FileRead::NotAFile : FileRead::Missing;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return FileRead::Failed;
    // One byte more than the limit tells a file that fills it exactly from one that goes on.
    bytes->resize(std::min(limit, size) + 1);
    const std::size_t got = std::fread(&(*bytes)[0], 1, bytes->size(), file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        bytes->clear();
        return FileRead::Failed;
    }
    bytes->resize(got > limit ? limit : got);
    return got > limit ? FileRead::Cut : FileRead::Whole;
}

bool moveFile(const std::string& from, const std::string& to) {
    if (storeUnavailable(from) || storeUnavailable(to)) return false;
    std::string bytes;
    if (readFile(from, SIZE_MAX - 1, &bytes) != FileRead::Whole) return false;  // read as large as it is
    bool exists = false;
    if (!isRegularFile(to, &exists) && exists) return false;
    // Both records change in one transaction; a file moved out of or into the store is written or
    // deleted there alone.
    const int size = static_cast<int>(bytes.size());
    if (isStored(from) && isStored(to)) {
        if (!savesMove(from.c_str(), to.c_str(), bytes.data(), size)) return false;
    } else if (isStored(to)) {
        if (!savesPut(to.c_str(), bytes.data(), size)) return false;
    } else if (isStored(from) && !savesRemove(from.c_str())) {
        return false;
    }
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool removeFile(const std::string& path) {
    if (storeUnavailable(path)) return false;
    if (isStored(path) && !savesRemove(path.c_str())) return false;
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool replaceFile(const std::string& path, const std::string& bytes) {
    if (storeUnavailable(path)) return false;
    bool exists = false;
    if (!isRegularFile(path, &exists) && exists) return false;  // a folder is no player's file
    if (isStored(path) && !savesPut(path.c_str(), bytes.data(), static_cast<int>(bytes.size()))) return false;
    return writeMemoryCopy(path, bytes);
}

}  // namespace platform
