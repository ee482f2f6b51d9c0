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

// Starts a ".wav" through SDL audio; a new sound replaces the one playing.
void playWav(const std::string& path);

// Decodes a ".wav" and converts it to the `device` format; empty when the file is missing or unreadable.
std::string loadWavAs(const std::string& path, const SDL_AudioSpec& device);

// Told about every message box and its answer (the scripted build keeps a record).
void noteMessage(WindowHandle owner, const char* text, const char* caption, MessageStyle style,
                 MessageAnswer answer);

// Puts an event back so that the next read sees it again (a quit that closed a message box).
void repostEvent(const SDL_Event& event);

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
