// What the page hands the browser build, turned into what SDL would have delivered, and the picture
// turned into what the canvas takes: key names of the browser's keyboard events as SDL keys, the
// page's event records as SDL events, RGB565 as RGBA. Plain C++, so that the desktop's tests check it.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace platform::web {

// Modifier bits the page sends with a key.
enum Modifier : unsigned { kShift = 1, kCtrl = 2, kAlt = 4, kMeta = 8, kCapsLock = 16 };

// A key of a browser keyboard event: `code` names the physical key ("ArrowLeft", "ControlLeft",
// "KeyA"), `key` is its text in the player's layout ("a", "A", "!") or a name ("Enter").
SDL_keysym keysymOf(const char* code, const char* key, unsigned modifiers);

// One event from the page: `type` is the SDL event type, a to c as the page's contract says
// (keys: modifiers; buttons: button, x, y in game pixels; motion: buttons held, x, y; focus: gain,
// state; joystick: axis and value, hat value, or button). `code` and `key` only for keys.
struct PageEvent {
    int type = 0;
    int a = 0, b = 0, c = 0;
    const char* code = "";
    const char* key = "";
};

// The SDL event for `e`; motion is relative to the position of the motion before (`lastX`, `lastY`,
// updated). SDL_NOEVENT for a type the page should not send.
SDL_Event sdlEventOf(const PageEvent& e, int* lastX, int* lastY);

// The rectangle `r` of a 16-bit RGB565 surface as 8-bit RGBA into `to` (a whole picture of `width`
// pixels a row), widened as SDL widens 565 for a 24-bit display: the low bits stay zero, so white is
// 248, 252, 248, as on the desktop.
void rgb565ToRgba(const SDL_Surface* from, const SDL_Rect& r, std::uint8_t* to, int width);

}  // namespace platform::web
