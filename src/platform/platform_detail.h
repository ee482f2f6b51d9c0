// The private wiring between the shared layers of platform/ (window, pause, gamepad, messages, sound)
// and the targets' own sources; not for game code. What a target implements is in target.h.
#pragma once

#include <string>

#include "platform/platform.h"

namespace platform::detail {

// The window layer of input_stack.cpp: maps mouse positions back to the game's surface and handles F11
// and Alt+Enter; false for an event that goes no further (those keys, a click on full screen's border).
bool windowLetsThrough(SDL_Event& event);

// The window layer's next event (the raw source's, through windowLetsThrough); 0 when none is pending
// (poll) or the wait failed. Once a quit has come, always a quit (input_stack.cpp).
int windowPollEvent(SDL_Event* event);
int windowWaitEvent(SDL_Event* event);

// Once the window is open: every quit SDL makes is noted, even one its full queue would drop.
void watchQuits();

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

// The buttons of the message box showing now (or shown last), and whether one waits for its answer:
// for a target that answers boxes itself with a tap (the scripted one).
Rect messageButtonShown(MessageAnswer which);
bool messageBoxWaiting();

// The game surface and font that message boxes draw with; screen is null until the fonts are loaded.
struct MessagePainter {
    SDL_Surface* screen = nullptr;
    TextPainter draw = nullptr;
    TextMeasurer measure = nullptr;
    int lineHeight = 0;
};
const MessagePainter& messagePainter();

// True between beginPlay() and endPlay().
bool inPlay();

// The pause layer (pause.cpp), above the window and the raw source: the next event for the layers
// above, or 0 when `wait` is false and none is pending. A pause runs inside it.
int pauseLayerEvent(SDL_Event* event, bool wait);
// Milliseconds spent paused since start-up: the game's clock leaves them out.
std::uint32_t pausedTime();

// The gamepad layer (gamepad.cpp), above the pause layer: joystick events become key events.
int gamepadLayerEvent(SDL_Event* event, bool wait);
// `keys` (held keys below) with the keys the gamepad holds added.
const Uint8* gamepadKeyState(const Uint8* keys);
// Brings the keys the gamepad holds in line with play or menus (called when play begins or ends).
void gamepadSync();

// The layers back to their start state (the scripted platform's reset).
void resetInputLayers();
void resetPauseLayer();
void resetGamepadLayer();

}  // namespace platform::detail
