// The keyboard and gamepad focus on a screen's hot spots: the arrows move a frame from spot to spot
// by where the spots lie, and a press of the focused spot acts as a tap at its centre would.
#pragma once

#include "platform/platform.h"

namespace ui {

// The frame is shown from the first navigation key on, on every screen, until the next tap.
bool focusShown();
void setFocusShown(bool shown);

// The spot nearest to spots[from] in the arrow's direction; `from` when none lies that way (or the
// action is no arrow).
int neighbour(const platform::Rect* spots, int count, int from, platform::Action arrow);

// Draws the focus frame `outset` pixels outside (negative: inside) the rectangle, no updateScreen.
void drawFocusFrame(const platform::Rect& r, int outset);

class Focus {
  public:
    explicit Focus(int first = 0) : index_(first) {}
    // A navigation action over `count` spots: an arrow reveals the focus or moves it; Press reveals
    // it or, when it is shown, gives the spot to press. -1 when there is nothing to press.
    int handle(platform::Action action, const platform::Rect* spots, int count);
    // When the focus is shown: its frame around the focused spot, then updateScreen.
    void draw(const platform::Rect* spots) const;
    int index() const { return index_; }

  private:
    int index_ = 0;
};

// Where a press of the spot taps: its centre.
inline int centreX(const platform::Rect& r) {
    return (r.left + r.right) / 2;
}
inline int centreY(const platform::Rect& r) {
    return (r.top + r.bottom) / 2;
}

}  // namespace ui
