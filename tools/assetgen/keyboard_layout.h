// The on-screen keyboard's 55 keys: rectangles in keyboard pixels and the code each case types.
#pragma once

#include <string>

namespace art {

constexpr int kKeyboardWidth = 240, kKeyboardHeight = 86;
constexpr int kKeyCount = 55;

// Control codes of the keys that type no character.
constexpr int kKeyCaps = 3, kKeyBlank = 4, kKeyShift = 5, kKeyEnter = 10, kKeyBackspace = 26;

struct KeyDef {
    int left, top, right, bottom;  // right and bottom exclusive
    int small, large;              // code in small case and in large case
};

extern const KeyDef kKeys[kKeyCount];

// The text written on a key: its character, or the name of a control key.
std::string keyLabel(int code);

}  // namespace art
