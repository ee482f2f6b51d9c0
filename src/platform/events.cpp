// The clock, events and held keys as the game receives them: the build's own sources (linux.cpp or
// script.cpp) passed through the layers that sit between them and the game, the recorder on top.
#include "platform/platform_detail.h"
#include "platform/recorder.h"

namespace platform {

// Under the recorder.
namespace below {
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
    recorder::beginPlay();
}
void endPlay() {
    recorder::endPlay();
}

}  // namespace platform
