// The on-screen keyboard as the pictures draw it: the game's own key table, and the key labels.
#pragma once

#include <string>

#include "persist/key_table.h"

namespace art {

constexpr int kKeyboardWidth = 240, kKeyboardHeight = 86;

// The text written on a key: its character, or the name of a control key.
std::string keyLabel(int code);

}  // namespace art
