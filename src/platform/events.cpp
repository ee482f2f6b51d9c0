// The clock, events and held keys as the game receives them: the build's own sources (linux.cpp or
// script.cpp) passed through the layers that sit between them and the game.
#include "platform/platform_detail.h"

namespace platform {

std::uint32_t ticks() {
    return detail::rawTicks();
}
void delay(std::uint32_t ms) {
    detail::rawDelay(ms);
}
int pollEvent(SDL_Event* event) {
    return detail::rawPollEvent(event);
}
int waitEvent(SDL_Event* event) {
    return detail::rawWaitEvent(event);
}
const Uint8* keyState() {
    return detail::rawKeyState();
}

void beginPlay() {}
void endPlay() {}

}  // namespace platform
