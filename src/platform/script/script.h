// Control of the headless platform that tests link instead of the desktop one: a virtual clock,
// scripted events and a record of what the game asked of the device. Nothing here really waits.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform::script {

struct MessageRecord {
    std::string text;
    std::string caption;
    MessageStyle style;
    WindowHandle owner;
    MessageAnswer answer;
};

// Puts the platform back into its start state: clock 0, no events, no keys held, nothing recorded,
// time limit 10 virtual minutes. Message boxes are real: a test answers them with taps.
void reset();

// The input layers as at start-up, a quit forgotten, keeping the clock and the queue: the game
// started again.
void resetInput();

// --- Device facts the start-up reads.
void setAvailableMemory(std::uint64_t bytes);
void setProgramPath(const std::string& path);
void setUserDataFolder(const std::string& folder);  // what userDataFolder() answers; "" at reset
void setOtherInstanceRunning(bool running);
// The desktop the window is fitted to (0 x 0, unknown, at reset: scale 1 and no full screen). SDL's
// dummy driver still sets the video modes.
void setDesktopSize(int width, int height);
// The desktop's bits per pixel (32 at reset): a scaled window is opened at 32 when it is, else at 16.
void setDesktopDepth(int bitsPerPixel);

// --- Clock. Every delay() advances it; waitEvent() on an empty queue jumps it to the next timed event.
std::uint32_t now();
void setTimeLimit(std::uint32_t ms);  // past this virtual time a quit event is queued, once
bool timeLimitHit();

// --- Events. Queued events come out in order; an event with a time is held back until the clock
// reaches it. Key events also update keyState() when they are taken.
void pushEvent(const SDL_Event& event, std::uint32_t at = 0);
void tap(int x, int y, std::uint32_t at = 0, Uint8 button = SDL_BUTTON_LEFT);  // down and up
void press(int x, int y, std::uint32_t at = 0, Uint8 button = SDL_BUTTON_LEFT);
void release(int x, int y, std::uint32_t at = 0, Uint8 button = SDL_BUTTON_LEFT);
void moveTo(int x, int y, std::uint32_t at = 0);
void keyDown(SDLKey key, std::uint32_t at = 0, SDLMod mod = KMOD_NONE);
void keyUp(SDLKey key, std::uint32_t at = 0);
void quit(std::uint32_t at = 0);
// Each character typed on the physical keyboard (down and up, one millisecond apart), as a key with
// its character; capitals come as their letter key.
void typeText(const char* text, std::uint32_t at = 0);
void windowFocus(bool gained, std::uint32_t at = 0);  // the window gains or loses the input focus
// The gamepad: stick axis 0 (x) or 1 (y), hat 0 (SDL_HAT_* bits), a button going down or up.
void joyAxis(Uint8 axis, Sint16 value, std::uint32_t at = 0);
void joyHat(Uint8 value, std::uint32_t at = 0);
void joyButton(Uint8 button, bool down, std::uint32_t at = 0);
std::size_t pendingEvents();

// Called whenever the game waits on an empty queue or sleeps, with the current virtual time;
// a test may queue events from it in reaction to the game's state.
void setIdleHook(std::function<void()> hook);

// --- Message boxes are drawn in the window and answered with taps.
Rect messageButton(MessageAnswer which);        // the button of the box showing now (or shown last)
bool messageWaiting();                          // a message box waits for its answer
void answerMessageBoxes(MessageAnswer answer);  // from now on, tap this button of every box shown

// --- Records of device calls.
const std::vector<std::string>& soundsPlayed();
const std::vector<std::string>& errorsReported();  // the texts reportText was given as errors
const std::vector<MessageRecord>& messages();
std::uint32_t delayedTotal();  // sum of all delay() calls
std::uint32_t lastDelay();     // the length of the latest delay() call
// The rectangles of the window sent to the display since the last call (or the reset), in order.
std::vector<SDL_Rect> takeShownRects();

}  // namespace platform::script
