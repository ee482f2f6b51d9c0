// The Windows target's own services, checked under Wine by the Windows stage: files and folders by
// UTF-8 names outside the ANSI code page, durable replacement and its refusals, the program's path and
// arguments, the single-instance mutex. A console program; prints each failure and "N checks, M failed".
// Its files go to the prefix's temporary folder, which goes with the prefix.
//   korvex-system-check.exe Игры      (the argument must arrive as that UTF-8 text)
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/platform.h"
#undef main  // a console program of its own, not SDL's entry

namespace {

using platform::FileRead;

int checks = 0, failures = 0;

void check(bool ok, const std::string& what) {
    ++checks;
    if (ok) return;
    ++failures;
    std::printf("FAILED: %s\n", what.c_str());
}

std::wstring wide(const std::string& utf8) {
    std::wstring text(utf8.size(), L'\0');
    text.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &text[0],
                                    static_cast<int>(text.size())));
    return text;
}

std::string read(const std::string& path) {
    std::string bytes;
    platform::readFile(path, 1000, &bytes);
    return bytes;
}

bool missing(const std::string& path) {
    std::string bytes;
    return platform::readFile(path, 1, &bytes) == FileRead::Missing;
}

// The names in a folder, "." and ".." left out.
std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(wide(folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(std::string(name.begin(), name.end()));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

void checkFolders(const std::string& base) {
    check(platform::makePrivateFolder(base + "a/b/"), "makePrivateFolder makes a folder and its parents");
    check(platform::folderExists(base + "a/b/") && !platform::folderExists(base + "none/"), "folderExists");
    check(platform::replaceFile(base + "a/file", "x") && !platform::folderExists(base + "a/file"),
          "a file is no folder");
    check(!platform::makePrivateFolder(base + "a/file/c/"), "no folder below a file");
}

void checkReading(const std::string& base) {
    platform::replaceFile(base + "five", "12345");
    const struct {
        std::string path;
        std::size_t limit;
        FileRead result;
        std::string bytes;
    } cases[] = {
        {base + "five", 6, FileRead::Whole, "12345"},  {base + "five", 5, FileRead::Whole, "12345"},
        {base + "five", 4, FileRead::Cut, "1234"},     {base + "five", 0, FileRead::Cut, ""},
        {base + "missing", 9, FileRead::Missing, ""},  {base + "none/missing", 9, FileRead::Missing, ""},
        {base + "a", 9, FileRead::NotAFile, ""},       {"\\\\.\\NUL", 9, FileRead::NotAFile, ""},
        {base + "\xff\xfe", 9, FileRead::Missing, ""},  // not UTF-8: never opened under another name
    };
    for (const auto& c : cases) {
        std::string bytes = "left over";
        const FileRead result = platform::readFile(c.path, c.limit, &bytes);
        check(
            result == c.result && bytes == c.bytes,
            "readFile " + c.path + " limit " + std::to_string(c.limit) + ": " + std::to_string(int(result)));
    }
}

void checkSaving(const std::string& base) {
    const std::string folder = base + "a/", settings = folder + "korvex.set";
    check(platform::replaceFile(settings, "one") && read(settings) == "one", "replaceFile makes a file");
    check(platform::replaceFile(settings, "two") && read(settings) == "two", "replaceFile replaces it");
    SetFileAttributesW(wide(settings).c_str(), FILE_ATTRIBUTE_READONLY);
    check(!platform::replaceFile(settings, "three") && read(settings) == "two",
          "a read-only file is refused and stays as it was");
    check(!platform::removeFile(settings) && read(settings) == "two", "a read-only file is not removed");
    SetFileAttributesW(wide(settings).c_str(), FILE_ATTRIBUTE_NORMAL);
    check(!platform::replaceFile(base + "none/korvex.set", "x"), "no file in a missing folder");
    check(!platform::replaceFile(base + "a/b", "x") && platform::folderExists(base + "a/b/"),
          "a folder stays");
    check(!platform::replaceFile(base + "\xff\xfe", "x"), "a name that is not UTF-8 is refused");
    check(namesIn(folder) == std::vector<std::string>{"b", "file", "korvex.set"},
          "no temporary file is left");
}

void checkMoving(const std::string& base) {
    const std::string one = base + "score-1.kvr", two = base + "score-2.kvr";
    platform::replaceFile(one, "first");
    platform::replaceFile(two, "second");
    check(platform::moveFile(one, two) && read(two) == "first" && missing(one),
          "moveFile replaces the file there");
    check(!platform::moveFile(one, two) && read(two) == "first",
          "moving a missing file fails, the other stays");
    check(platform::removeFile(two) && missing(two) && platform::removeFile(two),
          "removeFile removes a file, and a missing one is no failure");
}

void checkSystem(const std::vector<std::string>& args) {
    const std::string program = platform::programPath();
    const std::string name = "/korvex-system-check.exe";
    check(program.size() > name.size() && program.find('\\') == std::string::npos &&
              program.compare(program.size() - name.size(), name.size(), name) == 0,
          "programPath is the program's path with '/': " + program);
    check(args.size() == 2 && args[1] == "\xd0\x98\xd0\xb3\xd1\x80\xd1\x8b", "the argument arrives as UTF-8");
    const std::string appData = platform::userDataFolder();
    check(!appData.empty() && appData.back() == '/' && platform::folderExists(appData),
          "userDataFolder is %APPDATA%: " + appData);
    const std::string mutex = "korvex-check-" + std::to_string(GetCurrentProcessId());
    check(platform::acquireSingleInstance(mutex.c_str(), "") &&
              !platform::acquireSingleInstance(mutex.c_str(), ""),
          "the mutex is taken once");
    const std::uint64_t memory = platform::availablePhysicalMemory();
    check(memory > 5000000 && memory != UINT64_MAX, "available physical memory is known");
}

}  // namespace

int main(int argc, char** argv) {
    wchar_t temporary[MAX_PATH];
    GetTempPathW(MAX_PATH, temporary);
    const std::wstring scratch =
        std::wstring(temporary) + L"korvex-check-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(scratch.c_str(), nullptr);
    std::string base(scratch.begin(), scratch.end());  // ASCII so far
    base += "/\xd0\x98\xd0\xb3\xd1\x80\xd1\x8b/";      // a folder named outside the ANSI code page
    check(platform::makePrivateFolder(base), "a folder with a Cyrillic name");
    checkFolders(base);
    checkReading(base);
    checkSaving(base);
    checkMoving(base);
    checkSystem(platform::arguments(argc, argv));
    std::printf("%d checks, %d failed\n", checks, failures);
    return failures == 0 ? 0 : 1;
}
