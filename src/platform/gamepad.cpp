// The first gamepad, turned into the key events and held keys the game already reads, so neither
// play nor the screens know it is there. In play the stick or hat moves (Left, Right), any face
// button fires (Left Ctrl) and Start opens the menu (Escape); in menus the stick or hat moves the
// focus (arrows), the first button presses (Return), the second goes back (Escape), and Start too.
#include <deque>

#include "platform/platform_detail.h"

namespace platform::detail {
namespace {

constexpr Sint16 kDeadZone = 12000;  // of 32767: a resting stick is not a move
constexpr int kButtonCount = 32;
constexpr Uint8 kFaceButtons = 4;  // buttons 0 to 3
constexpr Uint8 kStartButton = 7;
constexpr Uint8 kStickX = 0, kStickY = 1;
constexpr Uint8 kGamepadKeyboard = 1;  // the keyboard index of the gamepad's keys; the real one is 0

enum Direction : unsigned { kLeft = 1, kRight = 2, kUp = 4, kDown = 8 };
constexpr unsigned kSideways = kLeft | kRight;

struct DirectionKey {
    Direction direction;
    SDLKey key;
};
constexpr DirectionKey kDirectionKeys[] = {
    {kLeft, SDLK_LEFT}, {kRight, SDLK_RIGHT}, {kUp, SDLK_UP}, {kDown, SDLK_DOWN}};

struct Gamepad {
    unsigned hat = 0, stickX = 0, stickY = 0;  // directions held by each
    unsigned shown = 0;                        // directions the game has been told are held
    SDLKey buttonKey[kButtonCount] = {};       // the key each held button went down as
    Uint8 holds[SDLK_LAST] = {};               // gamepad sources holding each key
    Uint8 merged[SDLK_LAST] = {};
    std::deque<SDL_Event> pending;
};
Gamepad pad;

SDLKey buttonKey(Uint8 button) {
    if (button == kStartButton) return SDLK_ESCAPE;
    if (inPlay()) return button < kFaceButtons ? SDLK_LCTRL : SDLK_UNKNOWN;
    if (button == 0) return SDLK_RETURN;
    if (button == 1) return SDLK_ESCAPE;
    return SDLK_UNKNOWN;
}

void queueKey(Uint8 type, SDLKey key) {
    SDL_Event e{};
    e.type = type;
    e.key.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = key;
    e.key.which = kGamepadKeyboard;
    pad.pending.push_back(e);
}

// A key goes down with its first holder and up with its last.
void hold(SDLKey key) {
    if (pad.holds[key]++ == 0) queueKey(SDL_KEYDOWN, key);
}
void letGo(SDLKey key) {
    if (pad.holds[key] == 0) return;
    if (--pad.holds[key] == 0) queueKey(SDL_KEYUP, key);
}

// Tells the game of every direction that changed; in play only sideways moves count, so that
// pushing the stick up never fires.
void syncDirections() {
    unsigned wanted = pad.hat | pad.stickX | pad.stickY;
    if (inPlay()) wanted &= kSideways;
    for (const DirectionKey& d : kDirectionKeys) {
        const bool now = wanted & d.direction, before = pad.shown & d.direction;
        if (now && !before) hold(d.key);
        if (!now && before) letGo(d.key);
    }
    pad.shown = wanted;
}

unsigned hatDirections(Uint8 value) {
    return (value & SDL_HAT_LEFT ? kLeft : 0u) | (value & SDL_HAT_RIGHT ? kRight : 0u) |
           (value & SDL_HAT_UP ? kUp : 0u) | (value & SDL_HAT_DOWN ? kDown : 0u);
}

unsigned axisDirections(Sint16 value, unsigned negative, unsigned positive) {
    if (value < -kDeadZone) return negative;
    if (value > kDeadZone) return positive;
    return 0;
}

void translate(const SDL_Event& e) {
    switch (e.type) {
        case SDL_JOYHATMOTION:
            if (e.jhat.hat == 0) pad.hat = hatDirections(e.jhat.value);
            break;
        case SDL_JOYAXISMOTION:
            if (e.jaxis.axis == kStickX) pad.stickX = axisDirections(e.jaxis.value, kLeft, kRight);
            if (e.jaxis.axis == kStickY) pad.stickY = axisDirections(e.jaxis.value, kUp, kDown);
            break;
        case SDL_JOYBUTTONDOWN:
            if (e.jbutton.button < kButtonCount && pad.buttonKey[e.jbutton.button] == SDLK_UNKNOWN) {
                const SDLKey key = buttonKey(e.jbutton.button);
                pad.buttonKey[e.jbutton.button] = key;
                if (key != SDLK_UNKNOWN) hold(key);
            }
            break;
        case SDL_JOYBUTTONUP:
            // Released as the key it went down as, even when play began or ended in between.
            if (e.jbutton.button < kButtonCount && pad.buttonKey[e.jbutton.button] != SDLK_UNKNOWN) {
                letGo(pad.buttonKey[e.jbutton.button]);
                pad.buttonKey[e.jbutton.button] = SDLK_UNKNOWN;
            }
            break;
    }
    syncDirections();
}

bool fromJoystick(const SDL_Event& e) {
    return e.type == SDL_JOYAXISMOTION || e.type == SDL_JOYBALLMOTION || e.type == SDL_JOYHATMOTION ||
           e.type == SDL_JOYBUTTONDOWN || e.type == SDL_JOYBUTTONUP;
}

}  // namespace

// As in the pause layer, the caller's record is written only when an event is handed on.
int gamepadLayerEvent(SDL_Event* event, bool wait) {
    for (;;) {
        if (!pad.pending.empty()) {
            *event = pad.pending.front();
            pad.pending.pop_front();
            return 1;
        }
        SDL_Event e;
        if (!pauseLayerEvent(&e, wait)) return 0;
        if (!fromJoystick(e)) {
            *event = e;
            return 1;
        }
        translate(e);
    }
}

const Uint8* gamepadKeyState(const Uint8* keys) {
    for (int k = 0; k < SDLK_LAST; ++k) pad.merged[k] = keys[k] || pad.holds[k] ? 1 : 0;
    return pad.merged;
}

void gamepadSync() {
    syncDirections();
}

void resetGamepadLayer() {
    pad = Gamepad{};
}

}  // namespace platform::detail

bool platform::fromGamepad(const SDL_Event& event) {
    return (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) &&
           event.key.which == detail::kGamepadKeyboard;
}
