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

}  // namespace platform::detail
