// The clock, events and held keys as the game receives them: the target's own sources (linux/,
// script/ and the others) passed through the layers that sit between them and the game. From the game down:
// an input layer set from above (the recorder), gamepad (joystick to keys), pause, window, then the raw
// source.
#include <csignal>

#include "platform/platform_detail.h"

namespace platform {
namespace {
bool playing = false;

// A quit (closing the window, SIGTERM) ends the game whenever it comes, so once one has been seen it
// is never taken back: every later read of the device layers gets a quit again, whichever screen, box,
// pause or drained queue took the first. Set from SDL's signal handler too, hence the type.
volatile std::sig_atomic_t quitAsked = 0;

SDL_Event quitEvent() {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    return quit;
}

// SDL hands every quit it makes to the filter before its queue, which drops events when it is full
// (a level reads one event a frame, and a moving mouse sends more).
int noteQuits(const SDL_Event* event) {
    if (event->type == SDL_QUIT) quitAsked = 1;
    return 1;
}

// The window layer, just above the raw source: mouse positions mapped back to the game's 240 x 320,
// clicks on full screen's border dropped, F11 and Alt+Enter switching full screen. The event record
// is written only for an event that is passed on.
int nextLetThrough(int (*source)(SDL_Event*), SDL_Event* event) {
    SDL_Event taken;
    while (!quitAsked && source(&taken)) {
        if (taken.type == SDL_QUIT) quitAsked = 1;
        if (detail::windowLetsThrough(taken)) {
            *event = taken;
            return 1;
        }
    }
    if (!quitAsked) return 0;
    *event = quitEvent();
    return 1;
}
}  // namespace

void detail::watchQuits() {
    // SDL 1.2 empties its queue when a filter is set: a quit waiting there is noted first.
    SDL_Event waiting;
    if (SDL_PeepEvents(&waiting, 1, SDL_PEEKEVENT, SDL_QUITMASK) > 0) quitAsked = 1;
    SDL_SetEventFilter(noteQuits);
}

int detail::windowPollEvent(SDL_Event* event) {
    return nextLetThrough(detail::rawPollEvent, event);
}

int detail::windowWaitEvent(SDL_Event* event) {
    return nextLetThrough(detail::rawWaitEvent, event);
}

namespace {
// The device layers, under any layer set from above.
std::uint32_t deviceTicks() {
    return detail::rawTicks() - detail::pausedTime();
}
int devicePollEvent(SDL_Event* event) {
    return detail::gamepadLayerEvent(event, false);
}
int deviceWaitEvent(SDL_Event* event) {
    return detail::gamepadLayerEvent(event, true);
}
const Uint8* deviceKeyState() {
    return detail::gamepadKeyState(detail::rawKeyState());
}
const InputSource kDevices = {deviceTicks, detail::rawDelay, devicePollEvent, deviceWaitEvent,
                              deviceKeyState};

const InputLayer* layerAbove = nullptr;

const InputSource& top() {
    return layerAbove ? layerAbove->calls : kDevices;
}
}  // namespace

void setInputLayer(const InputLayer* layer) {
    layerAbove = layer;
}
const InputSource& deviceInput() {
    return kDevices;
}

std::uint32_t ticks() {
    return top().ticks();
}
void delay(std::uint32_t ms) {
    top().delay(ms);
}
int pollEvent(SDL_Event* event) {
    return top().pollEvent(event);
}
int waitEvent(SDL_Event* event) {
    return top().waitEvent(event);
}
const Uint8* keyState() {
    return top().keyState();
}

void beginPlay() {
    playing = true;
    detail::gamepadSync();
    if (layerAbove) layerAbove->beginPlay();
}
void endPlay() {
    if (layerAbove) layerAbove->endPlay();
    playing = false;
    detail::gamepadSync();
}

bool detail::inPlay() {
    return playing;
}

void detail::resetInputLayers() {
    playing = false;
    quitAsked = 0;
    resetPauseLayer();
    resetGamepadLayer();
}

}  // namespace platform
