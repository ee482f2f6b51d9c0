// The on-screen keyboard: its key table, the case and one-shot Shift state, the hit test, the
// pressed-key feedback and what each key does to the text being typed.
#pragma once

#include <cstdint>

#include "persist/key_table.h"
#include "platform/platform.h"

// True while a one-shot Shift waits for the next key.
bool keyboardShiftPending();
void setKeyboardShiftPending(bool pending);

// The code of the first key whose rectangle holds (x, y) strictly inside on all four sides, for the
// current case, and that key's rectangle in `keyRect`; kKeyNone (rectangle untouched) when none.
int findKey(int x, int y, platform::Rect* keyRect);

// Shows the key pressed while the stylus stays on it, until the stylus is lifted; true when it was
// lifted with the key shown pressed. A quit request lets go of the key (false); other events are dropped.
bool trackKeyPress(const platform::Rect& keyRect);

// Applies one key to `text` (zero-terminated, room for maxLength characters and the terminator)
// and to the case state; 1 for Enter, otherwise 0.
int applyKey(int code, char* text, int maxLength);

// Draws the whole keyboard picture of the current case at the keyboard origin (no updateScreen).
void drawKeyboard();
