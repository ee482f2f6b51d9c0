// The focus frame's walk over a screen's spots, shown on the on-screen keyboard's 55 keys: the arrows
// keep to a row or a column and stop at the edges; the first key only shows the frame.
#include "ui/focus.h"

#include <gtest/gtest.h>

#include "persist/key_table.h"

namespace {

using platform::Action;

platform::Rect keys[kKeyCount];

void takeKeys() {
    for (int k = 0; k < kKeyCount; ++k) keys[k] = kKeys[k].rect;
}

TEST(Focus, TheArrowsWalkTheKeyboardByWhereItsKeysLie) {
    takeKeys();
    struct Move {
        int from;
        Action arrow;
        int to;
    };
    const Move moves[] = {
        {28, Action::Up, 15},    {28, Action::Left, 27},  {14, Action::Right, 15}, {38, Action::Down, 50},
        {53, Action::Up, 45},    {39, Action::Up, 26},    {13, Action::Down, 26},  {41, Action::Down, 52},
        {0, Action::Left, 0},    {13, Action::Right, 13}, {53, Action::Down, 53},  {0, Action::Up, 0},
        {28, Action::Press, 28}, {28, Action::Back, 28},
    };
    for (const Move& m : moves) {
        EXPECT_EQ(ui::neighbour(keys, kKeyCount, m.from, m.arrow), m.to)
            << m.from << " " << static_cast<int>(m.arrow);
    }
}

TEST(Focus, TheFirstKeyShowsTheFrameAndPressGivesTheFocusedSpot) {
    takeKeys();
    ui::setFocusShown(false);
    ui::Focus focus(28);
    EXPECT_EQ(focus.handle(Action::Right, keys, kKeyCount), -1);
    EXPECT_TRUE(ui::focusShown());
    EXPECT_EQ(focus.index(), 28);  // shown, not moved
    EXPECT_EQ(focus.handle(Action::Back, keys, kKeyCount), -1);
    EXPECT_EQ(focus.handle(Action::Right, keys, kKeyCount), -1);
    EXPECT_EQ(focus.handle(Action::Press, keys, kKeyCount), 29);
    ui::setFocusShown(false);
    EXPECT_EQ(focus.handle(Action::Press, keys, kKeyCount), -1);  // hidden again: shows it first
    EXPECT_TRUE(ui::focusShown());
    ui::setFocusShown(false);
}

}  // namespace
