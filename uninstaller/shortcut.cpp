// Reading the link information of a shell link (.lnk), as far as the uninstaller needs it.
#include "shortcut.h"

#include <cstdint>

namespace uninstaller {
namespace {

constexpr std::uint32_t kHeaderSize = 0x4C;
constexpr char kLinkClassId[] = "\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46";
constexpr std::size_t kClassIdAt = 4, kFlagsAt = 20;
constexpr std::uint32_t kHasTargetIdList = 0x1, kHasLinkInfo = 0x2, kForceNoLinkInfo = 0x100;
constexpr std::uint32_t kLinkInfoHeaderSize = 0x1C;  // the fields below, up to the suffix offset
constexpr std::size_t kInfoFlagsAt = 8, kLocalBasePathAt = 16, kSuffixAt = 24;
constexpr std::uint32_t kVolumeIdAndLocalBasePath = 0x1;

bool readNumber(const std::string& bytes, std::size_t at, std::size_t width, std::uint32_t* value) {
    if (at > bytes.size() || bytes.size() - at < width) return false;
    *value = 0;
    for (std::size_t i = width; i-- > 0;) *value = (*value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return true;
}

// The zero-terminated string at `at`, which must end before `end`.
bool readString(const std::string& bytes, std::size_t at, std::size_t end, std::string* text) {
    const std::size_t zero = bytes.find('\0', at);
    if (at >= end || zero == std::string::npos || zero >= end) return false;
    text->assign(bytes, at, zero - at);
    return true;
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string shortcutTarget(const std::string& linkBytes) {
    const std::string& b = linkBytes;
    std::uint32_t headerSize = 0, flags = 0;
    if (!readNumber(b, 0, 4, &headerSize) || headerSize != kHeaderSize ||
        !readNumber(b, kFlagsAt, 4, &flags) || b.compare(kClassIdAt, 16, kLinkClassId, 16) != 0) {
        return "";
    }
    if (!(flags & kHasLinkInfo) || (flags & kForceNoLinkInfo)) return "";
    std::size_t info = kHeaderSize;
    if (flags & kHasTargetIdList) {
        std::uint32_t idListSize = 0;
        if (!readNumber(b, info, 2, &idListSize)) return "";
        info += 2 + idListSize;
    }
    std::uint32_t infoSize = 0, infoFlags = 0, localAt = 0, suffixAt = 0;
    if (!readNumber(b, info, 4, &infoSize) || infoSize < kLinkInfoHeaderSize || infoSize > b.size() - info ||
        !readNumber(b, info + kInfoFlagsAt, 4, &infoFlags) ||
        !readNumber(b, info + kLocalBasePathAt, 4, &localAt) ||
        !readNumber(b, info + kSuffixAt, 4, &suffixAt)) {
        return "";
    }
    if (!(infoFlags & kVolumeIdAndLocalBasePath)) return "";
    const std::size_t end = info + infoSize;
    std::string base, suffix;
    if (localAt < kLinkInfoHeaderSize || suffixAt < kLinkInfoHeaderSize || localAt >= infoSize ||
        suffixAt >= infoSize || !readString(b, info + localAt, end, &base) ||
        !readString(b, info + suffixAt, end, &suffix)) {
        return "";
    }
    return base + suffix;
}

bool liesInside(const std::string& target, const std::string& folderPath, LeadBytePredicate isLeadByte) {
    const std::size_t n = folderPath.size();
    if (n == 0 || target.size() <= n + 1 || target[n] != '\\') return false;
    for (std::size_t i = 0; i < n; ++i) {
        if (isLeadByte(static_cast<unsigned char>(folderPath[i]))) {
            // A double-byte character is the same only byte for byte; its second byte is no letter.
            if (i + 1 >= n || target[i] != folderPath[i] || target[i + 1] != folderPath[i + 1]) return false;
            ++i;
        } else if (lowerAscii(target[i]) != lowerAscii(folderPath[i])) {
            return false;
        }
    }
    // Names after the folder: none may climb back out.
    std::size_t start = n + 1;
    while (start <= target.size()) {
        std::size_t end = start;
        while (end < target.size() && target[end] != '\\')
            end += isLeadByte(static_cast<unsigned char>(target[end])) ? 2 : 1;
        const std::string name = target.substr(start, end - start);
        if (name == "." || name == "..") return false;
        start = end + 1;
    }
    return true;
}

}  // namespace uninstaller
