// Files and folders through Windows' wide functions, so that every name the game uses (UTF-8) works
// whatever the system's ANSI code page: reading only what is a file, and durable, atomic replacement.
#include <windows.h>
// After windows.h, which they need.
#include <shlobj.h>

#include <algorithm>

#include "platform/platform.h"
#include "platform/windows/wide.h"

namespace platform {
namespace {

using windows::widePath;

// Closes a handle when it goes.
struct Handle {
    HANDLE h;
    explicit Handle(HANDLE handle) : h(handle) {}
    ~Handle() {
        if (valid()) CloseHandle(h);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return h != INVALID_HANDLE_VALUE; }
};

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool isMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME;
}

// The file a write to `path` reaches: a symbolic link or junction on the way is followed. An
// existing file's final path comes as "\\?\C:\...", which the wide functions take as it is.
std::wstring writeTarget(const std::wstring& path) {
    Handle file(
        CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid()) return path;
    std::wstring target(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(file.h, &target[0], static_cast<DWORD>(target.size()), 0);
    if (length >= target.size()) {
        target.resize(length);
        length = GetFinalPathNameByHandleW(file.h, &target[0], static_cast<DWORD>(target.size()), 0);
    }
    if (length == 0 || length >= target.size()) return path;
    target.resize(length);
    return target;
}

// A name for the new file in the target's own folder (a rename across volumes is no rename), unique
// to this process and save.
std::wstring temporaryBeside(const std::wstring& target) {
    static unsigned saves = 0;
    return target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++saves) + L".tmp";
}

bool writeAll(HANDLE file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        DWORD wrote = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &wrote, nullptr) || wrote == 0) return false;
        done += wrote;
    }
    return true;
}

// Writes `bytes` to a new file `path` and flushes it to the disk; false (and nothing left) on failure.
bool writeNewFile(const std::wstring& path, const std::string& bytes) {
    bool ok;
    {
        Handle file(
            CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) return false;
        ok = writeAll(file.h, bytes) && FlushFileBuffers(file.h);
    }
    if (!ok) DeleteFileW(path.c_str());
    return ok;
}

}  // namespace

bool folderExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(widePath(path).c_str());
    return !path.empty() && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool folderWritable(const std::string& path) {
    const std::string probe = path + "korvex-" + std::to_string(GetCurrentProcessId()) + ".tmp";
    const Handle file(CreateFileW(widePath(probe).c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return file.valid();
}

bool makePrivateFolder(const std::string& path) {
    // Missing parents too. The user's own folders (%APPDATA%) are private already, and a new folder
    // takes its parent's permissions.
    if (path.empty()) return false;
    std::wstring folder = widePath(path);
    while (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
    SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    return folderExists(path);
}

FileRead readFile(const std::string& path, std::size_t limit, std::string* bytes) {
    bytes->clear();
    const std::wstring wide = widePath(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (wide.empty() || (attributes == INVALID_FILE_ATTRIBUTES && isMissing(GetLastError()))) {
        return FileRead::Missing;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return FileRead::NotAFile;
    // Opening does not block, not even a device or a pipe; reading them could.
    Handle file(CreateFileW(wide.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return isMissing(GetLastError()) ? FileRead::Missing : FileRead::Failed;
    // A device (CON, a pipe) named where a file was expected is never read: it could block.
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileType(file.h) != FILE_TYPE_DISK || !GetFileInformationByHandle(file.h, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return FileRead::NotAFile;
    }
    // One byte more than the limit tells a file that fills it exactly from one that goes on.
    const std::uint64_t size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    bytes->resize(static_cast<std::size_t>(std::min<std::uint64_t>(limit, size)) + 1);
    std::size_t done = 0;
    while (done < limit + 1) {
        if (done == bytes->size()) bytes->resize(std::min(limit + 1, 2 * done));  // it grew meanwhile
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes->size() - done, 1u << 20));
        DWORD got = 0;
        if (!ReadFile(file.h, &(*bytes)[done], chunk, &got, nullptr)) {
            bytes->clear();
            return FileRead::Failed;
        }
        if (got == 0) break;
        done += got;
    }
    bytes->resize(std::min(done, limit));
    return done > limit ? FileRead::Cut : FileRead::Whole;
}

bool moveFile(const std::string& from, const std::string& to) {
    return MoveFileExW(widePath(from).c_str(), widePath(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool removeFile(const std::string& path) {
    return DeleteFileW(widePath(path).c_str()) || isMissing(GetLastError());
}

bool replaceFile(const std::string& path, const std::string& bytes) {
    const std::wstring wide = widePath(path);
    if (wide.empty()) return false;
    const std::wstring target = writeTarget(wide);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        // Refuse what opening the file for writing would refuse: a read-only file, a folder, a file
        // the user may not write; it stays as it is.
        if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return false;
        Handle probe(CreateFileW(target.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe.valid()) return false;
    }
    const std::wstring temporary = temporaryBeside(target);
    if (!writeNewFile(temporary, bytes)) return false;
    // The bytes are on the disk before the name points at them, and the rename itself is written
    // through before this returns.
    if (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace platform
