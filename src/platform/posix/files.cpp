// Files and folders on a POSIX file system: reading without blocking on what is not a file, and
// durable, atomic replacement. The desktop and the tests share it, since tests work in scratch folders.
#include "platform/posix/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <string>

#include "platform/platform.h"

namespace platform {

std::string posix::userDataFolderFrom(const char* xdgDataHome, const char* home) {
    // The base directory rules say a relative value is to be ignored.
    if (xdgDataHome && xdgDataHome[0] == '/') return joinPath(xdgDataHome, "/");
    if (home && home[0] == '/') return joinPath(home, "/.local/share/");
    return "";
}

bool folderExists(const std::string& path) {
    struct stat info;
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool makePrivateFolder(const std::string& path) {
    if (path.empty()) return false;
    // Parents first, each created private like the folder itself.
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && !folderExists(part)) return false;
    }
    mkdir(path.c_str(), 0700);
    return folderExists(path);
}

namespace {

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

constexpr int kMaxLinks = 40;  // the kernel's own limit on links in a path

// The file a write to `path` would reach: symbolic links followed to the end of their chain, even to
// a file that does not exist yet (a write would create it). Empty for a loop or too long a chain.
std::string writeTarget(std::string path) {
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        char link[PATH_MAX];
        const ssize_t length = ::readlink(path.c_str(), link, sizeof link - 1);
        if (length <= 0) return path;  // no link: the file itself, or nothing yet
        const std::string to(link, static_cast<std::size_t>(length));
        path = to[0] == '/' ? to : folderOf(path) + "/" + to;
    }
    return "";
}

// A new, empty file beside `target` under a name no other save uses at the same time (this process's
// id and a count), so that two copies saving one file never write into each other's temporary file.
int createTemporary(const std::string& target, std::string* name) {
    static unsigned count = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        *name = target + ".new-" + std::to_string(::getpid()) + "-" + std::to_string(count++);
        const int fd = ::open(name->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;  // one left by a crashed copy is passed over
    }
    return -1;
}

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

bool syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

}  // namespace

FileRead readFile(const std::string& path, std::size_t limit, std::string* bytes) {
    bytes->clear();
    // Only a regular file is opened, and without blocking: a FIFO or a device named where a file was
    // expected must not hold the game up.
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) {
        return errno == ENOENT || errno == ENOTDIR ? FileRead::Missing : FileRead::Failed;
    }
    if (!S_ISREG(info.st_mode)) return FileRead::NotAFile;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return FileRead::Failed;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {  // replaced since the look
        ::close(fd);
        return FileRead::NotAFile;
    }
    // One byte more than the limit tells a file that fills it exactly from one that goes on.
    bytes->resize(std::min<std::size_t>(limit, static_cast<std::size_t>(info.st_size)) + 1);
    std::size_t done = 0;
    bool failed = false;
    while (done < limit + 1) {
        if (done == bytes->size()) bytes->resize(std::min(limit + 1, 2 * done));  // it grew meanwhile
        const ssize_t got = ::read(fd, &(*bytes)[done], bytes->size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            failed = got < 0;
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    ::close(fd);
    if (failed) {
        bytes->clear();
        return FileRead::Failed;
    }
    bytes->resize(std::min(done, limit));
    return done > limit ? FileRead::Cut : FileRead::Whole;
}

bool moveFile(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) return false;
    syncFolder(folderOf(to));  // moved whatever the sync says: only a power cut could still undo it
    return true;
}

bool removeFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool replaceFile(const std::string& path, const std::string& bytes) {
    const std::string target = writeTarget(path);
    if (target.empty()) return false;
    struct stat old;
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists) {
        // Only a regular file is replaced (a FIFO or a device is not the player's file), and only one
        // that opening for writing would accept (not a read-only one); the look never blocks.
        if (!S_ISREG(old.st_mode)) return false;
        const int probe = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (probe < 0) return false;
        ::close(probe);
    }
    std::string temporary;
    const int fd = createTemporary(target, &temporary);
    if (fd < 0) return false;
    bool ok = writeAll(fd, bytes);
    if (ok && exists) ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    if (ok) ok = ::fsync(fd) == 0;  // the bytes are on disk before the name points at them
    if (::close(fd) != 0) ok = false;
    if (ok) ok = ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    // The rename survives a power cut once the folder is synced; the new file is in place either way.
    syncFolder(folderOf(target));
    return true;
}

}  // namespace platform
