// The clock, events and held keys as the game receives them: the target's own sources (linux/,
// script/ and the others) passed through the layers that sit between them and the game. From the game down:
// the recorder, gamepad (joystick to keys), pause, then the raw source.
#include "platform/platform_detail.h"
#include "platform/recorder.h"

namespace platform {
namespace {
bool playing = false;

// The window layer, just above the raw source: mouse positions mapped back to the game's 240 x 320,
// clicks on full screen's border dropped, F11 and Alt+Enter switching full screen. The event record
// is written only for an event that is passed on.
int nextLetThrough(int (*source)(SDL_Event*), SDL_Event* event) {
    SDL_Event taken;
    while (source(&taken)) {
        if (detail::windowLetsThrough(taken)) {
            *event = taken;
            return 1;
        }
    }
    return 0;
}
}  // namespace

int detail::windowPollEvent(SDL_Event* event) {
    return nextLetThrough(detail::rawPollEvent, event);
}

int detail::windowWaitEvent(SDL_Event* event) {
    return nextLetThrough(detail::rawWaitEvent, event);
}

// Under the recorder.
namespace below {
std::uint32_t ticks() {
    return detail::rawTicks() - detail::pausedTime();
}
void delay(std::uint32_t ms) {
    detail::rawDelay(ms);
}
int pollEvent(SDL_Event* event) {
    return detail::gamepadLayerEvent(event, false);
}
int waitEvent(SDL_Event* event) {
    return detail::gamepadLayerEvent(event, true);
}
const Uint8* keyState() {
    return detail::gamepadKeyState(detail::rawKeyState());
}
}  // namespace below

std::uint32_t ticks() {
    return recorder::ticks();
}
void delay(std::uint32_t ms) {
    recorder::delay(ms);
}
int pollEvent(SDL_Event* event) {
    return recorder::pollEvent(event);
}
int waitEvent(SDL_Event* event) {
    return recorder::waitEvent(event);
}
const Uint8* keyState() {
    return recorder::keyState();
}

void beginPlay() {
    playing = true;
    detail::gamepadSync();
    recorder::beginPlay();
}
void endPlay() {
    recorder::endPlay();
    playing = false;
    detail::gamepadSync();
}

bool detail::inPlay() {
    return playing;
}

void detail::resetInputLayers() {
    playing = false;
    resetPauseLayer();
    resetGamepadLayer();
}

}  // namespace platform
