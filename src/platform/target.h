// Exactly what a target folder (linux/, windows/, web/, script/) implements, each with its contract.
// Everything else in platform/ is shared by every target and built on these. A new target is one new
// folder defining all of this (posix/ and desktop/ hold parts several targets share) and one CMake branch.
#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

using WindowHandle = std::uintptr_t;  // 0 means "no window"

enum class MessageStyle { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// --- System: called by start-up ---------------------------------------------------------------

// Bytes of physical memory available now; a huge value when unknown.
std::uint64_t availablePhysicalMemory();

// Once the folders are known: claims the single-instance lock `name`; false when another live copy
// holds it. Where the system's own place for the lock is taken by another user, it is kept in
// `playerFolder` (empty: none) instead. The system releases the lock when the process ends, however it ends.
bool acquireSingleInstance(const char* name, const std::string& playerFolder);

// Starts SDL's video system (SDL_Init); false when it cannot, SDL_GetError() saying why. A display
// server that is resetting just then is waited out.
bool startVideo();

// Full path of the running program, in UTF-8 with '/' between folders; empty on failure.
std::string programPath();

// The command line in UTF-8, the program's own name first; on Linux `argv` as it is, on Windows read
// again from the system, since `argv` there is in the ANSI code page.
std::vector<std::string> arguments(int argc, char** argv);

// The command line's answers and errors the player must see (usage, version, a wrong option, no window,
// a recording that cannot be played or kept): on standard output, or standard error when `error`; where
// neither leads anywhere (a Windows program started from the desktop), in a message box of the system's.
void reportText(const std::string& text, bool error);

// The user's own data folder ($XDG_DATA_HOME, else ~/.local/share; %APPDATA% on Windows), ending in
// '/'; empty when no absolute folder is known.
std::string userDataFolder();

// Hardware buttons: routes device buttons to the game as key events (nothing to do on a desktop).
void captureButtons();
void releaseButtons();

// After SDL_Init: opens the first gamepad the system has; none is fine.
void openGamepad();

// Starts playing a ".wav" file and returns at once; a new sound replaces the one playing; a missing
// or unreadable file plays nothing.
void playSoundAsync(const std::string& path);

// --- Files: called by loading and every save ------------------------------------------------------

// Choosing the layout: true when `path` names an existing folder.
bool folderExists(const std::string& path);

// Start-up, for a portable copy: true when a file can be made in the folder `path` (one is made and
// removed at once).
bool folderWritable(const std::string& path);

// Before a save: makes `path` and missing parents with mode 0700; false when it is no folder then.
bool makePrivateFolder(const std::string& path);

// How readFile went.
enum class FileRead {
    Whole,     // `bytes` holds the whole file
    Cut,       // the file goes on past `limit`: `bytes` holds its first `limit` bytes
    Missing,   // nothing at `path`
    NotAFile,  // a folder, a FIFO, a device: never opened for reading, so nothing can block
    Failed,    // it could not be opened or read
};

// Loading (settings, preferences, story, recordings, packs, pictures): reads at most `limit` bytes of
// the regular file at `path` into `bytes` (emptied first).
FileRead readFile(const std::string& path, std::size_t limit, std::string* bytes);

// The high-score recordings moving down the table: renames `from` to `to`, replacing a file there;
// false when it cannot (then both stay as they were).
bool moveFile(const std::string& from, const std::string& to);

// A reset of the high-score table: deletes the file at `path`; false when a file is still there.
bool removeFile(const std::string& path);

// Saves (settings, preferences, replays): replaces the file at `path`, or the end of its chain of symbolic
// links, with `bytes` atomically and durably, keeping its permissions; false, the old file untouched, on any
// failure and for what is not a writable regular file (a FIFO, a device, a read-only file), never blocking.
// Copies saving one file at once each put a whole file in place; true once it is there.
bool replaceFile(const std::string& path, const std::string& bytes);

// --- Network: called by --submit only ------------------------------------------------------------

// What a server said to postBytes: its HTTP status and body; status 0 when no answer came, `error`
// saying why (no such host, refused, a certificate that does not hold, a timeout).
struct HttpAnswer {
    int status = 0;
    std::string body;
    std::string error;
};

// --submit only (the game never reaches a network by itself): POSTs `body` as application/octet-stream
// to the http:// or https:// `url` and waits, at most about a minute, for the answer. HTTPS checks the
// server with the system's certificates.
HttpAnswer postBytes(const std::string& url, const std::string& body);

// --- The raw sources: called by the shared input and window layers only ----------------------------

namespace detail {

// The target's own clock, sleep, event queue and key state, below every shared layer.
std::uint32_t rawTicks();
void rawDelay(std::uint32_t ms);
int rawPollEvent(SDL_Event* event);
int rawWaitEvent(SDL_Event* event);
const Uint8* rawKeyState();

// Shows rectangles of the window's surface: SDL_UpdateRects where SDL itself draws the window, a copy
// of its own on a target where SDL draws nowhere.
void rawUpdateRects(SDL_Surface* video, int count, SDL_Rect* rects);

// The desktop's size in pixels and bits per pixel as they were before the game set a video mode;
// 0 when unknown.
void rawDesktopSize(int* width, int* height, int* bitsPerPixel);

// Told about every message box and its answer (the scripted target keeps a record).
void noteMessage(WindowHandle owner, const char* text, const char* caption, MessageStyle style,
                 MessageAnswer answer);

}  // namespace detail
}  // namespace platform
