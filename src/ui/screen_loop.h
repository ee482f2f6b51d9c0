// What every menu screen shares: its results and the wait for the next tap or quit.
#pragma once

#include "game/results.h"
#include "platform/platform.h"

namespace ui {

enum class InputKind { Tap, Quit, Action, Other };

struct Input {
    InputKind kind;
    int x, y;
    platform::Action action = platform::Action::None;
};

// Blocks until the next event: a stylus tap (any button), the quit request, a key's action (the
// keyboard's and the gamepad's), or anything else. A failed wait counts as a quit so that no screen
// can spin forever. A tap hides the focus frame.
Input waitInput();

// A tap at the centre of `spot`: what pressing the focused spot does.
inline Input tapInside(const platform::Rect& spot) {
    return {InputKind::Tap, (spot.left + spot.right) / 2, (spot.top + spot.bottom) / 2};
}

// The first rectangle in `spots` that holds (x, y), or -1.
template <typename Spot, int N>
int hitSpot(const Spot (&spots)[N], int x, int y) {
    for (int k = 0; k < N; ++k) {
        if (platform::ptInRect(spots[k].rect, x, y)) return k;
    }
    return -1;
}

}  // namespace ui
