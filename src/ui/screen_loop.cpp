// The wait shared by the menu screens.
#include "ui/screen_loop.h"

#include "ui/focus.h"

namespace ui {

Input waitInput() {
    SDL_Event event;
    if (!platform::waitEvent(&event)) return {InputKind::Quit, 0, 0};
    if (event.type == SDL_QUIT) return {InputKind::Quit, 0, 0};
    if (event.type == SDL_MOUSEBUTTONDOWN) {
        setFocusShown(false);
        return {InputKind::Tap, event.button.x, event.button.y};
    }
    const platform::Action action = platform::actionOf(event);
    if (action != platform::Action::None) return {InputKind::Action, 0, 0, action};
    return {InputKind::Other, 0, 0};
}

}  // namespace ui
