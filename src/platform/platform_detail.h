// What the shared device code asks of each build (desktop or scripted); not for game code.
#pragma once

#include <string>

#include "platform/platform.h"

namespace platform::detail {

// The build's own clock, sleep, event queue and key state, before any of the layers in events.cpp.
std::uint32_t rawTicks();
void rawDelay(std::uint32_t ms);
int rawPollEvent(SDL_Event* event);
int rawWaitEvent(SDL_Event* event);
const Uint8* rawKeyState();

// The desktop's size in pixels as it was before the game set a video mode; 0 x 0 when unknown.
void rawDesktopSize(int* width, int* height);

// The window layer of events.cpp: maps mouse positions back to the game's surface and handles F11
// and Alt+Enter; false for an event that goes no further (those keys, a click on full screen's border).
bool windowLetsThrough(SDL_Event& event);

// A point of the game's surface as a point of the window (the scripted build taps with it).
void gameToWindow(int* x, int* y);

// The surface the game draws on while a window is open, else null.
SDL_Surface* openGameSurface();

// Forgets the window and every choice made (the scripted build's reset).
void resetWindow();

// Told when a switch of the window moved the game's surface (message boxes draw on it).
void screenMoved(SDL_Surface* from, SDL_Surface* to);

// The font built into the code, for messages before the game's own fonts are loaded.
constexpr int kBuiltinLineHeight = 11;
void drawBuiltinText(SDL_Surface* surface, const char* text, int x, int y, Uint32 colour);
int builtinTextWidth(const char* text);

// Starts a ".wav" through SDL audio; a new sound replaces the one playing.
void playWav(const std::string& path);

// Decodes a ".wav" and converts it to the `device` format; empty when the file is missing or unreadable.
std::string loadWavAs(const std::string& path, const SDL_AudioSpec& device);

// Told about every message box and its answer (the scripted build keeps a record).
void noteMessage(WindowHandle owner, const char* text, const char* caption, MessageStyle style,
                 MessageAnswer answer);

// Puts an event back so that the next read sees it again (a quit that closed a message box).
void repostEvent(const SDL_Event& event);

}  // namespace platform::detail
