// The desktop build of the device services: Linux kernel facts, SDL's clock and event queue.
#include <fcntl.h>
#include <poll.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/platform_detail.h"
#include "platform/posix/files.h"

// After our own headers: the X11 headers it brings define names such as None as macros.
#include <SDL_syswm.h>

namespace platform {

std::uint64_t availablePhysicalMemory() {
    std::ifstream meminfo("/proc/meminfo");
    std::string line;
    while (std::getline(meminfo, line)) {
        std::istringstream fields(line);
        std::string name;
        std::uint64_t kilobytes = 0;
        if (fields >> name >> kilobytes && name == "MemAvailable:") return kilobytes * 1024;
    }
    return UINT64_MAX;  // unknown: do not refuse to start
}

namespace {

enum class Lock { Taken, HeldByAnother, Unavailable };

// Locks `file` in the open folder `folder`; the descriptor stays open for the whole run, and the
// kernel drops the lock when the process ends, however it ends.
Lock lockIn(int folder, const std::string& file) {
    const int fd = openat(folder, file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return Lock::Unavailable;
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) return Lock::Taken;
    close(fd);
    return Lock::HeldByAnother;
}

// -1 when `path` is empty or no folder (with `noLink`, also when it is a symbolic link).
int openFolder(const std::string& path, bool noLink = false) {
    const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (noLink ? O_NOFOLLOW : 0);
    return path.empty() ? -1 : open(path.c_str(), flags);
}

// This user's folder below the temporary folder, made 0700 if missing and put back to 0700 if it is
// ours but open to others. -1 when it is a link, no folder, or someone else's: another user can make
// it first, and must not thereby switch the lock off.
int privateLockFolder(const char* name) {
    const char* temp = std::getenv("TMPDIR");
    const std::string base = temp && temp[0] == '/' ? temp : "/tmp";
    const std::string path = base + "/" + name + "-" + std::to_string(getuid());
    mkdir(path.c_str(), 0700);
    const int folder = openFolder(path, true);
    struct stat info;
    if (folder >= 0 && fstat(folder, &info) == 0 && info.st_uid == getuid() &&
        ((info.st_mode & 077) == 0 || fchmod(folder, 0700) == 0)) {
        return folder;
    }
    if (folder >= 0) close(folder);
    return -1;
}

}  // namespace

bool acquireSingleInstance(const char* name, const std::string& playerFolder) {
    // Copies started with and without XDG_RUNTIME_DIR must see each other, so every copy locks in
    // its private folder below the temporary folder (in the player's folder when that one is taken),
    // and in the runtime folder too when it has one.
    int own = privateLockFolder(name);
    if (own < 0 && makePrivateFolder(playerFolder)) own = openFolder(playerFolder);
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const struct {
        int folder;
        std::string file;
    } places[] = {
        {own, std::string(name) + ".lock"},
        {openFolder(runtime && runtime[0] == '/' ? runtime : ""),
         std::string(name) + "-" + std::to_string(getuid()) + ".lock"},
    };
    bool another = false;
    for (const auto& place : places) {
        if (place.folder < 0) continue;
        another = another || lockIn(place.folder, place.file) == Lock::HeldByAnother;
        close(place.folder);
    }
    return !another;  // unlocked places: better a second copy than no game
}

std::string programPath() {
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return "";
    return std::string(buffer, static_cast<std::size_t>(length));
}

std::vector<std::string> arguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

void reportText(const std::string& text, bool error) {
    std::fputs(text.c_str(), error ? stderr : stdout);
}

std::string userDataFolder() {
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') {
        const passwd* entry = getpwuid(getuid());
        home = entry ? entry->pw_dir : nullptr;
    }
    return posix::userDataFolderFrom(std::getenv("XDG_DATA_HOME"), home);
}

namespace {

// X servers started for one program or a test (Xvfb, xvfb-run) reset whenever their last client
// leaves, and a connection made during a reset fails. SDL connects, disconnects and connects again
// as it starts (SDL 1.2 looks at the display first), so a short-lived client leaving just then made
// the game fail to start, or take a text-mode driver instead. A connection of our own, held while
// SDL starts, keeps the server from resetting under it.
Display* holdDisplay() {
    constexpr int kAttempts = 10;
    constexpr useconds_t kPauseUs = 50000;  // a reset takes a few milliseconds
    if (!std::getenv("DISPLAY")) return nullptr;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (Display* display = XOpenDisplay(nullptr)) return display;
        usleep(kPauseUs);
    }
    return nullptr;
}

// sdl12-compat, SDL 1.2 on top of SDL 2 (it says it is 1.2.50 or later), shows every update by
// clearing, converting and sending the whole window again, through OpenGL unless told otherwise:
// with OpenGL done in software (an X server without a GPU) play at scale 3 took ten times the
// processor time of the classic SDL 1.2. SDL 2's plain window framebuffer does it for about twice.
// What the player has set in these variables stands.
void preferPlainFramebuffer() {
    const SDL_version* linked = SDL_Linked_Version();
    constexpr int kFirstCompatPatch = 50;
    if (!linked || linked->major != 1 || linked->minor != 2 || linked->patch < kFirstCompatPatch) return;
    setenv("SDL12COMPAT_OPENGL_SCALING", "0", 0);
    setenv("SDL_RENDER_DRIVER", "software", 0);
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 0);
}

}  // namespace

bool startVideo() {
    preferPlainFramebuffer();
    Display* held = holdDisplay();
    const bool started = SDL_Init(SDL_INIT_VIDEO) == 0;
    if (held) XCloseDisplay(held);
    return started;
}

void playSoundAsync(const std::string& path) {
    detail::playWav(path);
}

namespace detail {
int rawWaitEvent(SDL_Event* event) {
    // SDL's own wait looks for events every 10 ms; a waiting menu or pause should cost nothing, so
    // sleep on the X connection itself until the server has something to say.
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) <= 0 || info.subsystem != SDL_SYSWM_X11) return SDL_WaitEvent(event);
    pollfd connection = {ConnectionNumber(info.info.x11.display), POLLIN, 0};
    // SDL turns SIGINT and SIGTERM into a quit. One that came after the look at SDL's queue and
    // before the sleep would wait for the next X event, so they are let in during the sleep alone.
    sigset_t quitSignals, outside;
    sigemptyset(&quitSignals);
    sigaddset(&quitSignals, SIGINT);
    sigaddset(&quitSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &quitSignals, &outside);
    int result = 0;
    for (;;) {
        SDL_PumpEvents();
        const int got = SDL_PeepEvents(event, 1, SDL_GETEVENT, SDL_ALLEVENTS);
        if (got != 0) {
            result = got > 0 ? 1 : 0;
            break;
        }
        // SDL reads a gamepad only when pumped: with one open, wake as often as SDL's own wait does.
        const bool gamepad = SDL_NumJoysticks() > 0 && SDL_JoystickOpened(0);
        const timespec gamepadPeriod = {0, 10 * 1000 * 1000};
        if (ppoll(&connection, 1, gamepad ? &gamepadPeriod : nullptr, &outside) > 0 &&
            (connection.revents & (POLLERR | POLLHUP | POLLNVAL))) {
            // The display has gone and nothing more can arrive: end as when the window is closed.
            *event = SDL_Event{};
            event->type = SDL_QUIT;
            result = 1;
            break;
        }
    }
    pthread_sigmask(SIG_SETMASK, &outside, nullptr);
    return result;
}
}  // namespace detail

}  // namespace platform
