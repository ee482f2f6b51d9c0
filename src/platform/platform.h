// What the platform offers the game: the services every target implements (target.h) and those the
// shared layers beside this header build on them (window and scaling, messages, time and input, pause,
// controls). Game code includes this header and SDL, never POSIX, Win32, X11 or JavaScript.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

#include "platform/target.h"

namespace platform {

struct Rect {
    int left, top, right, bottom;
};

// Appends a Windows-style relative name ("\data\0", "//data//1") to a folder that ends in '/',
// leaving exactly one '/' between components.
std::string joinPath(const std::string& folder, const std::string& name);

// Point-in-rectangle with the hot-spot rule: left <= x < right and top <= y < bottom.
bool ptInRect(const Rect& r, int x, int y);

// The generator behind randomRange: reseed, then draw a non-negative value.
void seedRandom(std::uint32_t seed);
int nextRandom();

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

// Draws a line of text at (x, y) on the screen surface in the game's own font; measures its width.
using TextPainter = void (*)(const char* text, int x, int y);
using TextMeasurer = int (*)(const char* text);

// Called once fonts are loaded: lets message boxes draw inside the game window. A null screen
// turns that off again.
void setMessagePainter(SDL_Surface* screen, TextPainter painter, TextMeasurer measurer, int lineHeight);

// A modal message box, answered with a tap; printed on standard error when there is no screen or
// font yet (it then answers Ok, or No for a question). `owner` may be 0.
MessageAnswer messageBox(WindowHandle owner, const char* text, const char* caption, MessageStyle style);

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

// --- An input layer above the devices --------------------------------------------------------

// The calls of "Time and input" above, as one layer of the input stack answers them.
struct InputSource {
    std::uint32_t (*ticks)();
    void (*delay)(std::uint32_t ms);
    int (*pollEvent)(SDL_Event* event);
    int (*waitEvent)(SDL_Event* event);
    const Uint8* (*keyState)();
};
struct InputLayer {
    InputSource calls;
    void (*beginPlay)();  // told after the devices are
    void (*endPlay)();    // told before the devices are
};

// Puts `layer` between the game and the device layers (the recorder does, while it records or plays);
// null takes it out again. The game's time and input calls then go to it.
void setInputLayer(const InputLayer* layer);

// The device layers under any such layer (gamepad, pause, window, the target's own source).
const InputSource& deviceInput();

// --- Controls -------------------------------------------------------------------------------

// What a key means on the screens, whichever device sent it (the gamepad arrives as keys).
enum class Action { None, Up, Down, Left, Right, Press, Back };

// The action of a key-down event; None for every other event and key.
Action actionOf(const SDL_Event& event);

// True for a key event that the gamepad sent (it arrives as keys).
bool fromGamepad(const SDL_Event& event);

}  // namespace platform
