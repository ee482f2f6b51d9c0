// Files and folders on a POSIX file system: reading without blocking on what is not a file, and
// durable, atomic replacement. The desktop and the tests share it, since tests work in scratch folders.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/platform.h"

namespace platform {

std::string userDataFolderFrom(const char* xdgDataHome, const char* home) {
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

// The file a write to `path` would reach: a symbolic link is followed to its target, even one that
// does not exist yet (a write would create it).
std::string writeTarget(const std::string& path) {
    if (char* real = ::realpath(path.c_str(), nullptr)) {
        std::string target = real;
        std::free(real);
        return target;
    }
    char link[PATH_MAX];
    const ssize_t length = ::readlink(path.c_str(), link, sizeof link - 1);
    if (length <= 0) return path;
    const std::string to(link, static_cast<std::size_t>(length));
    return to[0] == '/' ? to : folderOf(path) + "/" + to;
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
    return ::rename(from.c_str(), to.c_str()) == 0 && syncFolder(folderOf(to));
}

bool removeFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool replaceFile(const std::string& path, const std::string& bytes) {
    const std::string target = writeTarget(path);
    struct stat old;
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists) {
        // Refuse what opening the file for writing would refuse (a read-only file, for one).
        const int probe = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
        if (probe < 0) return false;
        ::close(probe);
    }
    const std::string temporary = target + ".new";
    ::unlink(temporary.c_str());  // a stale one from a crash; a folder in its way stays and fails below
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
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
    return syncFolder(folderOf(target));  // and the rename itself survives a power cut
}

}  // namespace platform
