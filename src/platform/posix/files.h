// What the POSIX targets (linux/, web/, script/) share beyond the seam's file services.
#pragma once

#include <string>

namespace platform::posix {

// userDataFolder's rule, given $XDG_DATA_HOME and $HOME (null when unset); relative values are ignored.
std::string userDataFolderFrom(const char* xdgDataHome, const char* home);

}  // namespace platform::posix
