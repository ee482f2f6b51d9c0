// The wait shared by the menu screens.
#include "ui/screen_loop.h"

namespace ui {

Input waitInput() {
    SDL_Event event;
    if (!platform::waitEvent(&event)) return {InputKind::Quit, 0, 0};
    if (event.type == SDL_QUIT) return {InputKind::Quit, 0, 0};
    if (event.type == SDL_MOUSEBUTTONDOWN) return {InputKind::Tap, event.button.x, event.button.y};
    return {InputKind::Other, 0, 0};
}

}  // namespace ui
