// The game's UTF-8 paths and texts as the UTF-16 that Windows' wide functions take, and back.
#pragma once

#include <string>

namespace platform::windows {

// UTF-16 of a UTF-8 path, every '/' turned into '\' (which a "\\?\" path needs); empty when `path`
// is not UTF-8, so that nothing is opened under a garbled name.
std::wstring widePath(const std::string& path);

// UTF-16 of UTF-8 text; what is not UTF-8 becomes U+FFFD.
std::wstring wideText(const std::string& text);

// UTF-8 of a Windows path with '/' between folders, as the game joins paths.
std::string utf8Path(const std::wstring& path);

// UTF-8 of UTF-16 text.
std::string utf8Text(const std::wstring& text);

}  // namespace platform::windows
