// The on-screen keyboard: its key table, the case and one-shot Shift state, the hit test, the
// pressed-key feedback and what each key does to the text being typed.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Codes of the control keys; codes 32 to 126 are the printable characters.
constexpr std::uint8_t kKeyNone = 0;  // findKey: no key under the point
constexpr std::uint8_t kKeyCaps = 3;
constexpr std::uint8_t kKeyBlank = 4;
constexpr std::uint8_t kKeyShift = 5;
constexpr std::uint8_t kKeyEnter = 10;
constexpr std::uint8_t kKeyBackspace = 26;

constexpr int kKeyCount = 55;
constexpr int kKeyboardLeft = 0;  // where every entry puts the keyboard
constexpr int kKeyboardTop = 234;

struct Key {
    platform::Rect rect;  // keyboard coordinates: left, top, right, bottom
    std::uint8_t smallCase;
    std::uint8_t largeCase;
};

extern const Key kKeys[kKeyCount];

// True while a one-shot Shift waits for the next key.
bool keyboardShiftPending();
void setKeyboardShiftPending(bool pending);

// The code of the first key whose rectangle holds (x, y) strictly inside on all four sides, for the
// current case, and that key's rectangle in `keyRect`; kKeyNone (rectangle untouched) when none.
int findKey(int x, int y, platform::Rect* keyRect);

// Shows the key pressed while the stylus stays on it, until the stylus is lifted; true when it was
// lifted with the key shown pressed. Every other event, a quit request included, is dropped.
bool trackKeyPress(const platform::Rect& keyRect);

// Applies one key to `text` (zero-terminated, room for maxLength characters and the terminator)
// and to the case state; 1 for Enter, otherwise 0.
int applyKey(int code, char* text, int maxLength);

// Draws the whole keyboard picture of the current case at the keyboard origin (no updateScreen).
void drawKeyboard();
