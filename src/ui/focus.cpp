// The focus frame of the menu screens and the on-screen keyboard.
#include "ui/focus.h"

#include <cstdlib>

#include "shell/shell.h"

namespace ui {
namespace {

constexpr int kFrameWidth = 2;
// A spot far to the side counts this many times its distance along the arrow: the arrows keep to
// a column or a row before they jump across.
constexpr int kSidewaysWeight = 2;

bool shown = false;

}  // namespace

bool focusShown() {
    return shown;
}
void setFocusShown(bool on) {
    shown = on;
}

int neighbour(const platform::Rect* spots, int count, int from, platform::Action arrow) {
    const int fx = centreX(spots[from]), fy = centreY(spots[from]);
    int best = from, bestScore = 0;
    for (int k = 0; k < count; ++k) {
        const int dx = centreX(spots[k]) - fx, dy = centreY(spots[k]) - fy;
        int along = 0, across = 0;
        switch (arrow) {
            case platform::Action::Up:
                along = -dy, across = dx;
                break;
            case platform::Action::Down:
                along = dy, across = dx;
                break;
            case platform::Action::Left:
                along = -dx, across = dy;
                break;
            case platform::Action::Right:
                along = dx, across = dy;
                break;
            default:
                return from;
        }
        if (along <= 0) continue;
        const int score = along + kSidewaysWeight * std::abs(across);
        if (best == from || score < bestScore) best = k, bestScore = score;
    }
    return best;
}

void drawFocusFrame(const platform::Rect& r, int outset) {
    const Uint32 colour = SDL_MapRGB(screen->format, 255, 208, 64);
    const int left = r.left - outset, top = r.top - outset;
    const int w = r.right - r.left + 2 * outset, h = r.bottom - r.top + 2 * outset;
    const SDL_Rect sides[] = {
        {static_cast<Sint16>(left), static_cast<Sint16>(top), static_cast<Uint16>(w), kFrameWidth},
        {static_cast<Sint16>(left), static_cast<Sint16>(top + h - kFrameWidth), static_cast<Uint16>(w),
         kFrameWidth},
        {static_cast<Sint16>(left), static_cast<Sint16>(top), kFrameWidth, static_cast<Uint16>(h)},
        {static_cast<Sint16>(left + w - kFrameWidth), static_cast<Sint16>(top), kFrameWidth,
         static_cast<Uint16>(h)},
    };
    for (SDL_Rect side : sides) SDL_FillRect(screen, &side, colour);
}

int Focus::handle(platform::Action action, const platform::Rect* spots, int count) {
    if (index_ >= count) index_ = 0;
    if (action == platform::Action::None || action == platform::Action::Back) return -1;
    if (!shown) {
        shown = true;  // the first key only shows where the focus is
        return -1;
    }
    if (action == platform::Action::Press) return index_;
    index_ = neighbour(spots, count, index_, action);
    return -1;
}

void Focus::draw(const platform::Rect* spots) const {
    if (!shown) return;
    drawFocusFrame(spots[index_], kFrameWidth);
    updateScreen();
}

}  // namespace ui
