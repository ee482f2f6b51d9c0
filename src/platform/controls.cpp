// The one translation from keys to the screens' actions, and the hot-spot rule for taps. The gamepad
// reaches it as keys too (gamepad.cpp), so a screen never looks at a key code or a joystick.
#include "platform/platform.h"

namespace platform {
namespace {

struct KeyAction {
    SDLKey key;
    Action action;
};

constexpr KeyAction kKeyActions[] = {
    {SDLK_UP, Action::Up},       {SDLK_DOWN, Action::Down},    {SDLK_LEFT, Action::Left},
    {SDLK_RIGHT, Action::Right}, {SDLK_RETURN, Action::Press}, {SDLK_KP_ENTER, Action::Press},
    {SDLK_SPACE, Action::Press}, {SDLK_ESCAPE, Action::Back},
};

}  // namespace

Action actionOf(const SDL_Event& event) {
    if (event.type != SDL_KEYDOWN) return Action::None;
    for (const KeyAction& k : kKeyActions) {
        if (k.key == event.key.keysym.sym) return k.action;
    }
    return Action::None;
}

bool ptInRect(const Rect& r, int x, int y) {
    return r.left <= x && x < r.right && r.top <= y && y < r.bottom;
}

}  // namespace platform
