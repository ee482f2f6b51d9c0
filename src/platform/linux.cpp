// The desktop build of the device services: Linux kernel facts, SDL's clock and event queue.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/platform_detail.h"

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

bool acquireSingleInstance(const char* name) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string folder = runtime && *runtime ? runtime : "";
    if (folder.empty() || access(folder.c_str(), W_OK) != 0) {
        const char* temp = std::getenv("TMPDIR");
        folder = temp && *temp ? temp : "/tmp";
    }
    const std::string path = folder + "/" + name + "-" + std::to_string(getuid()) + ".lock";
    // The descriptor stays open for the whole run; the kernel drops the lock when the process ends.
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return true;  // cannot lock: better a second copy than no game
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
    close(fd);
    return false;
}

std::string programPath() {
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return "";
    return std::string(buffer, static_cast<std::size_t>(length));
}

void captureButtons() {}
void releaseButtons() {}

void playSoundAsync(const std::string& path) {
    detail::playWav(path);
}

namespace detail {
std::uint32_t rawTicks() {
    return SDL_GetTicks();
}
void rawDelay(std::uint32_t ms) {
    SDL_Delay(ms);
}
int rawPollEvent(SDL_Event* event) {
    return SDL_PollEvent(event);
}
int rawWaitEvent(SDL_Event* event) {
    return SDL_WaitEvent(event);
}
const Uint8* rawKeyState() {
    return SDL_GetKeyState(nullptr);
}

void rawDesktopSize(int* width, int* height) {
    // SDL tells the desktop's size only until the first video mode is set: keep it for the switches.
    static int desktopW = 0, desktopH = 0;
    if (!SDL_GetVideoSurface()) {
        const SDL_VideoInfo* info = SDL_GetVideoInfo();
        desktopW = info ? info->current_w : 0;
        desktopH = info ? info->current_h : 0;
    }
    *width = desktopW;
    *height = desktopH;
}

void noteMessage(WindowHandle, const char*, const char*, MessageStyle, MessageAnswer) {}
void repostEvent(const SDL_Event& event) {
    SDL_Event copy = event;
    SDL_PushEvent(&copy);
}
}  // namespace detail

}  // namespace platform
