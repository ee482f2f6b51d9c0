// The device services the game needs, behind one seam. Game code includes this header and SDL,
// never POSIX or X11. linux.cpp provides the desktop build, script.cpp the headless one for tests.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

namespace platform {

using WindowHandle = std::uintptr_t;  // 0 means "no window"

struct Rect {
    int left, top, right, bottom;
};

// --- System ---------------------------------------------------------------------------------

// Start-up memory check: bytes of physical memory available now; a huge value when unknown.
std::uint64_t availablePhysicalMemory();

// Start-up: claims the single-instance lock `name`; false when another live copy holds it.
// The operating system releases the lock when the process ends, however it ends.
bool acquireSingleInstance(const char* name);

// Start-up: full path of the running program; empty on failure.
std::string programPath();

// Appends a Windows-style relative name ("\data\0", "//data//1") to a folder that ends in '/',
// leaving exactly one '/' between components.
std::string joinPath(const std::string& folder, const std::string& name);

// Saves (settings, replays): replaces the file at `path`, or a symbolic link's target, with `bytes`
// atomically and durably, keeping its permissions; false, the old file untouched, on any failure.
bool replaceFile(const std::string& path, const std::string& bytes);

// Point-in-rectangle with the hot-spot rule: left <= x < right and top <= y < bottom.
bool ptInRect(const Rect& r, int x, int y);

// Hardware buttons: routes device buttons to the game as key events (nothing to do on a desktop).
void captureButtons();
void releaseButtons();

// The generator behind randomRange: reseed, then draw a non-negative value.
void seedRandom(std::uint32_t seed);
int nextRandom();

// --- Video ----------------------------------------------------------------------------------

// Start-up: opens the game's 240 x 320 x 16 surface in a window titled `title`;
// null when no video mode can be set (the reason is in `error`).
SDL_Surface* openScreen(int width, int height, int bitsPerPixel, const char* title, std::string* error);

// Makes the whole screen surface, or a list of its rectangles, visible.
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
// running), outside them in a menu, a message or name entry.
void beginPlay();
void endPlay();

}  // namespace platform
