// The command line of a GUI program: its arguments in UTF-8, and where its text goes. Started from a
// console, a GUI program is not given that console; it attaches to it, so that what the game prints
// reaches the console as on Linux. Streams redirected to a file or a pipe stay as they are.
#include <windows.h>
// After windows.h, which they need.
#include <shellapi.h>

#include <cstdio>

#include "platform/platform.h"
#include "platform/windows/wide.h"

namespace platform {
namespace {

bool leadsSomewhere(DWORD stream) {
    const HANDLE handle = GetStdHandle(stream);
    return handle && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// Whether standard output and standard error reach anyone, settled before main runs.
struct StandardStreams {
    bool output = leadsSomewhere(STD_OUTPUT_HANDLE);
    bool error = leadsSomewhere(STD_ERROR_HANDLE);

    StandardStreams() {
        if ((output && error) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
        if (!output) output = std::freopen("CONOUT$", "w", stdout) != nullptr;
        if (!error) error = std::freopen("CONOUT$", "w", stderr) != nullptr;
    }
};

const StandardStreams streams;

}  // namespace

std::vector<std::string> arguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> args;
    for (int i = 0; i < count; ++i) args.push_back(windows::utf8Text(wide[i]));
    LocalFree(wide);
    return args;
}

void reportText(const std::string& text, bool error) {
    if (error ? streams.error : streams.output) {
        std::FILE* stream = error ? stderr : stdout;
        std::fputs(text.c_str(), stream);
        std::fflush(stream);
        return;
    }
    MessageBoxW(nullptr, windows::wideText(text).c_str(), L"Korvex",
                MB_OK | (error ? MB_ICONERROR : MB_ICONINFORMATION));
}

}  // namespace platform
