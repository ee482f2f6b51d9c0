// The Windows build of the device services: the system's memory status, named mutex, module path,
// folders and sounds; SDL's clock and event queue, waited on without using the processor.
#include <windows.h>
// After windows.h, which they need.
#include <mmsystem.h>
#include <shlobj.h>

#include <cstdlib>
#include <map>

#include "platform/platform_detail.h"
#include "platform/windows/wide.h"

namespace platform {

std::uint64_t availablePhysicalMemory() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) return UINT64_MAX;  // unknown: do not refuse to start
    return status.ullAvailPhys;
}

bool acquireSingleInstance(const char* name, const std::string&) {
    // A named mutex of the session: no folder another user could take first.
    // The handle stays open for the whole run; the system closes it when the process ends.
    const HANDLE mutex = CreateMutexW(nullptr, TRUE, windows::wideText(name).c_str());
    const DWORD error = GetLastError();
    if (!mutex)
        return error != ERROR_ACCESS_DENIED;  // denied: it exists; else better a second copy than none
    if (error != ERROR_ALREADY_EXISTS) return true;
    CloseHandle(mutex);
    return false;
}

bool startVideo() {
    return SDL_Init(SDL_INIT_VIDEO) == 0;
}

std::string programPath() {
    // The path may be longer than MAX_PATH; the buffer grows until the whole path fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0) return "";
        if (length < path.size()) {
            path.resize(length);
            return windows::utf8Path(path);
        }
        if (path.size() >= 32768) return "";
        path.resize(path.size() * 2);
    }
}

std::string userDataFolder() {
    wchar_t folder[MAX_PATH];
    if (SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, folder) !=
        S_OK) {
        return "";
    }
    return joinPath(windows::utf8Path(folder), "/");
}

void playSoundAsync(const std::string& path) {
    // PlaySoundW plays from memory the file read through readFile like every other; it reads the
    // bytes while they play, so every sound is kept for the whole run.
    static std::map<std::string, std::string> sounds;
    // Registered after the map was made, so the sound stops before the map is freed at exit.
    static const bool stopsAtExit = std::atexit([] { PlaySoundW(nullptr, nullptr, 0); }) == 0;
    (void)stopsAtExit;
    auto sound = sounds.find(path);
    if (sound == sounds.end()) {
        constexpr std::size_t kMaxWavBytes = 4 << 20;
        std::string bytes;
        if (readFile(path, kMaxWavBytes, &bytes) != FileRead::Whole) return;
        sound = sounds.emplace(path, std::move(bytes)).first;
    }
    PlaySoundW(reinterpret_cast<LPCWSTR>(sound->second.data()), nullptr,
               SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
}

namespace detail {
void rawUpdateRects(SDL_Surface* video, int count, SDL_Rect* rects) {
    SDL_UpdateRects(video, count, rects);
}

int rawWaitEvent(SDL_Event* event) {
    // SDL's own wait looks for events every 10 ms; a waiting menu or pause should cost nothing, so
    // sleep in the system until a message arrives for the window's thread. SDL's pump takes every
    // message out of the queue, so a message that comes after it ends the wait at once.
    for (;;) {
        SDL_PumpEvents();
        const int got = SDL_PeepEvents(event, 1, SDL_GETEVENT, SDL_ALLEVENTS);
        if (got != 0) return got > 0 ? 1 : 0;
        // SDL reads a gamepad only when pumped: with one open, wake as often as SDL's own wait does.
        const bool gamepad = SDL_NumJoysticks() > 0 && SDL_JoystickOpened(0);
        MsgWaitForMultipleObjectsEx(0, nullptr, gamepad ? 10 : INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}
}  // namespace detail

}  // namespace platform
