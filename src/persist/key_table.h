// The on-screen keyboard's 55 keys as data: rectangles in keyboard pixels and the code each case
// types. Shared with the asset generator, which draws the keyboard pictures from it.
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
