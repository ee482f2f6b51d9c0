// UTF-8 and UTF-16 through the system's own conversions.
#include "platform/windows/wide.h"

#include <windows.h>

#include <algorithm>

namespace platform::windows {
namespace {

std::wstring toWide(const std::string& text, DWORD flags) {
    if (text.empty()) return std::wstring();
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, flags, text.data(), size, nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, flags, text.data(), size, &wide[0], length);
    return wide;
}

}  // namespace

std::wstring widePath(const std::string& path) {
    std::wstring wide = toWide(path, MB_ERR_INVALID_CHARS);
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    return wide;
}

std::wstring wideText(const std::string& text) {
    return toWide(text, 0);
}

std::string utf8Path(const std::wstring& path) {
    std::string text = utf8Text(path);
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

std::string utf8Text(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return std::string();
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, &utf8[0], length, nullptr, nullptr);
    return utf8;
}

}  // namespace platform::windows
