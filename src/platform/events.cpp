// The clock, events and held keys as the game receives them: the build's own sources (linux.cpp or
// script.cpp) passed through the layers that sit between them and the game.
#include "platform/platform_detail.h"

namespace platform {
namespace {

// The window layer, just above the raw source: mouse positions mapped back to the game's 240 x 320,
// clicks on full screen's border dropped, F11 and Alt+Enter switching full screen. The event record
// is written only for an event that is passed on.
int windowPollEvent(SDL_Event* event) {
    SDL_Event taken;
    while (detail::rawPollEvent(&taken)) {
        if (detail::windowLetsThrough(taken)) {
            *event = taken;
            return 1;
        }
    }
    return 0;
}

int windowWaitEvent(SDL_Event* event) {
    SDL_Event taken;
    while (detail::rawWaitEvent(&taken)) {
        if (detail::windowLetsThrough(taken)) {
            *event = taken;
            return 1;
        }
    }
    return 0;
}

}  // namespace

std::uint32_t ticks() {
    return detail::rawTicks();
}
void delay(std::uint32_t ms) {
    detail::rawDelay(ms);
}
int pollEvent(SDL_Event* event) {
    return windowPollEvent(event);
}
int waitEvent(SDL_Event* event) {
    return windowWaitEvent(event);
}
const Uint8* keyState() {
    return detail::rawKeyState();
}

void beginPlay() {}
void endPlay() {}

}  // namespace platform
