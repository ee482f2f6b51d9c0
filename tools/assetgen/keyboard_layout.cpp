// Labels of the keyboard keys.
#include "assetgen/keyboard_layout.h"

namespace art {

std::string keyLabel(int code) {
    switch (code) {
        case kKeyCaps:
            return "Caps";
        case kKeyShift:
            return "Shift";
        case kKeyEnter:
            return "Enter";
        case kKeyBackspace:
            return "Back";
        case kKeyBlank:
            return "";
        default:
            return std::string(1, static_cast<char>(code));
    }
}

}  // namespace art
