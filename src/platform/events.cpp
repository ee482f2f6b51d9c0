// The clock, events and held keys as the game receives them: the build's own sources (linux.cpp or
// script.cpp) passed through the layers that sit between them and the game. From the game down:
// gamepad (joystick to keys), pause, then the raw source.
#include "platform/platform_detail.h"

namespace platform {
namespace {
bool playing = false;
}  // namespace

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

void beginPlay() {
    playing = true;
    detail::gamepadSync();
}
void endPlay() {
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
