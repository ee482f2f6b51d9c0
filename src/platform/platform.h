// The device services the game needs, behind one seam. Game code includes this header and SDL,
// never POSIX, Win32, X11 or JavaScript. Each target has a folder of its own below this one (linux/,
// script/ for the headless tests); the layers beside this header are shared by every target.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

using WindowHandle = std::uintptr_t;  // 0 means "no window"

struct Rect {
    int left, top, right, bottom;
};

// --- System ---------------------------------------------------------------------------------

// Start-up memory check: bytes of physical memory available now; a huge value when unknown.
std::uint64_t availablePhysicalMemory();

// Start-up, once the folders are known: claims the single-instance lock `name`; false when another live
// copy holds it. Where the system's own place for the lock is taken by another user, it is kept in
// `playerFolder` (empty: none) instead. The system releases the lock when the process ends, however it ends.
bool acquireSingleInstance(const char* name, const std::string& playerFolder);

// Start-up: starts SDL's video system (SDL_Init); false when it cannot, SDL_GetError() saying why. A
// display server that is resetting just then is waited out.
bool startVideo();

// Start-up: full path of the running program, in UTF-8 with '/' between folders; empty on failure.
std::string programPath();

// Start-up: the command line in UTF-8, the program's own name first; on Linux `argv` as it is, on
// Windows read again from the system, since `argv` there is in the ANSI code page.
std::vector<std::string> arguments(int argc, char** argv);

// The command line's answers and a failed start (usage, version, a wrong option, no window): printed
// on standard output, or standard error when `error`; where neither leads anywhere (a Windows
// program started from the desktop), shown in a message box of the system's.
void reportText(const std::string& text, bool error);

// Start-up: the user's own data folder ($XDG_DATA_HOME, else ~/.local/share; %APPDATA% on Windows),
// ending in '/'; empty when no absolute folder is known.
std::string userDataFolder();

// userDataFolder's rule, given $XDG_DATA_HOME and $HOME (null when unset); relative values are ignored.
std::string userDataFolderFrom(const char* xdgDataHome, const char* home);

// Start-up, choosing the layout: true when `path` names an existing folder.
bool folderExists(const std::string& path);

// Before a save: makes `path` and missing parents with mode 0700; false when it is no folder then.
bool makePrivateFolder(const std::string& path);

// Appends a Windows-style relative name ("\data\0", "//data//1") to a folder that ends in '/',
// leaving exactly one '/' between components.
std::string joinPath(const std::string& folder, const std::string& name);

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

// Point-in-rectangle with the hot-spot rule: left <= x < right and top <= y < bottom.
bool ptInRect(const Rect& r, int x, int y);

// Hardware buttons: routes device buttons to the game as key events (nothing to do on a desktop).
void captureButtons();
void releaseButtons();

// The generator behind randomRange: reseed, then draw a non-negative value.
void seedRandom(std::uint32_t seed);
int nextRandom();

// --- Network --------------------------------------------------------------------------------

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

// --- Video ----------------------------------------------------------------------------------

constexpr int kMaxWindowScale = 8;

// How the game's surface is shown: in a window scaled by a whole number (`scale` 0: the largest whose
// window fits about 90 % of the desktop), or full screen at the desktop's own resolution, the picture
// centred on black. Called before openScreen it says what openScreen opens; afterwards it switches at
// once and returns false when the switch failed (the previous way is kept). F11 and Alt+Enter switch
// between window and full screen by themselves.
bool chooseWindow(int scale, bool fullscreen);

// Start-up: the variable the game draws through. A switch that moves the game's surface (at scale 1
// in a window, the window is the surface) points it at the new one.
void followScreen(SDL_Surface** screen);

// Told after every switch between window and full screen that the player made with a key.
void setWindowModeListener(void (*listener)(bool fullscreen));

// Start-up: opens the game's 240 x 320 x 16 surface in a window titled `title`, shown as chosen;
// null when no video mode can be set (the reason is in `error`).
SDL_Surface* openScreen(int width, int height, int bitsPerPixel, const char* title, std::string* error);

// Loading pictures: a copy of `picture` as SDL_DisplayFormat (with `alpha`, SDL_DisplayFormatAlpha)
// makes it for the game's 16-bit surface, whatever depth the window has; null on failure.
SDL_Surface* convertPicture(SDL_Surface* picture, bool alpha);

// Makes the whole screen surface, or a list of its rectangles, visible (scaled into the window).
void presentScreen(SDL_Surface* screen);
void presentRects(SDL_Surface* screen, int count, SDL_Rect* rects);

// The game's window looked up by its title; 0 when there is none.
WindowHandle findWindow(const char* title);

// --- Messages -------------------------------------------------------------------------------

enum class MessageStyle { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// Draws a line of text at (x, y) on the screen surface in the game's own font; measures its width.
using TextPainter = void (*)(const char* text, int x, int y);
using TextMeasurer = int (*)(const char* text);

// Called once fonts are loaded: lets message boxes draw inside the game window. A null screen
// turns that off again.
void setMessagePainter(SDL_Surface* screen, TextPainter painter, TextMeasurer measurer, int lineHeight);

// A modal message box, answered with a tap; printed on standard error when there is no screen or
// font yet (it then answers Ok, or No for a question). `owner` may be 0.
MessageAnswer messageBox(WindowHandle owner, const char* text, const char* caption, MessageStyle style);

// --- Sound ----------------------------------------------------------------------------------

// Starts playing a ".wav" file and returns at once; a new sound replaces the one playing; a missing
// or unreadable file plays nothing.
void playSoundAsync(const std::string& path);

// --- Time and input -------------------------------------------------------------------------

std::uint32_t ticks();            // milliseconds since start-up
void delay(std::uint32_t ms);     // sleeps
int pollEvent(SDL_Event* event);  // 1 and the event when one is pending, else 0 and untouched
int waitEvent(SDL_Event* event);  // blocks until an event arrives; 1, or 0 on error
const Uint8* keyState();          // held keys, indexed by SDLKey, 1 = held

// The level loop brackets its frames with these: between them the player is in play (a level is
// running), outside them in a menu, a message or name entry. In play, P, Pause or the window losing
// the focus pause the level here, unseen by the game: ticks() stands still until the player resumes.
void beginPlay();
void endPlay();

// --- Recording ------------------------------------------------------------------------------

// What the recorder reads of the game, registered at start-up so that the platform needs no game
// header.
struct WorldProbe {
    std::uint16_t rulesVersion = 0;  // raised by every change of the rules that changes play
    void (*state)(std::int32_t* level, std::int32_t* lives, std::int32_t* score,
                  std::int32_t* difficulty) = nullptr;
    std::string (*carried)() = nullptr;     // the rest of what a new game starts from, as bytes
    std::uint32_t (*checksum)() = nullptr;  // a digest of the whole world
};

// Start-up of a normal run: every game from now on is recorded, and the last one kept as
// `folder` + "last.kvr".
void recordGames(const std::string& folder, const WorldProbe& probe);

// The game flow marks one game: begun as it is set up (before anything is reset), ended at
// game over or when the player leaves it (a new game, or quitting). A begin also ends the last one.
void beginGame();
void endGame();

// The high-score table: the last game's recording is kept as "score-N.kvr" for table place `place`
// (0 to 4), those below moving down one place and the fifth dropped; a reset removes them all.
// Nothing happens when no game is being recorded (a replay being watched).
void keepReplayAsScore(int place);
void dropScoreReplays();

// --- Controls -------------------------------------------------------------------------------

// What a key means on the screens, whichever device sent it (the gamepad arrives as keys).
enum class Action { None, Up, Down, Left, Right, Press, Back };

// The action of a key-down event; None for every other event and key.
Action actionOf(const SDL_Event& event);

// True for a key event that the gamepad sent (it arrives as keys).
bool fromGamepad(const SDL_Event& event);

// Start-up, after SDL_Init: opens the first gamepad the system has; none is fine.
void openGamepad();

}  // namespace platform
