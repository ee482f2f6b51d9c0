// The product's Start-menu entry: which program a shell link (.lnk) leads to, and whether that lies in
// the folder being removed. Only such an entry is deleted; a link that leads elsewhere is left alone.
#pragma once

#include <string>

#include "uninstall_logic.h"

namespace uninstaller {

constexpr std::size_t kShortcutReadLimit = 65536;  // bytes read of a link; its link information comes early

// The path in a shell link's link information (its local base path followed by its common path
// suffix, ANSI code page); empty when the bytes are no shell link, hold no local path, or are cut or
// damaged. Every offset is checked against the bytes given.
std::string shortcutTarget(const std::string& linkBytes);

// True when `target` names something inside `folderPath` (given without a trailing backslash): it
// starts with the folder and a backslash, ASCII letters compared without case and double-byte
// characters whole, and no name in it is "." or "..", which could lead back out.
bool liesInside(const std::string& target, const std::string& folderPath, LeadBytePredicate isLeadByte);

}  // namespace uninstaller
