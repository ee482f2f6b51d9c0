// The Start-menu entry: the path a shell link leads to, and whether that lies in the product's folder.
#include "shortcut.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

namespace {

using uninstaller::liesInside;
using uninstaller::noLeadBytes;
using uninstaller::shortcutTarget;

std::string le(std::uint32_t value, int width) {
    std::string bytes;
    for (int i = 0; i < width; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

const std::string kClassId("\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16);

// A shell link laid out as the shell saves one: the 76-byte header, a target ID list, then the link
// information (its 28-byte header, a volume ID, the local base path and the common path suffix).
struct Link {
    std::uint32_t headerSize = 0x4C;
    std::uint32_t flags = 0x1 | 0x2 | 0x80;
    std::uint32_t infoFlags = 0x1;
    std::string base = "C:\\Apps\\Demo\\demo.exe";
    std::string suffix;

    std::string bytes() const {
        std::string link = le(headerSize, 4) + kClassId + le(flags, 4) + std::string(0x4C - 24, '\0');
        if (flags & 0x1) link += le(6, 2) + std::string("\x04\x00\x1F\x50\x00\x00", 6);
        const std::string volume = le(16, 4) + le(3, 4) + le(0, 4) + le(16, 4);
        const std::uint32_t localAt = 0x1C + static_cast<std::uint32_t>(volume.size());
        const std::uint32_t suffixAt = localAt + static_cast<std::uint32_t>(base.size()) + 1;
        const std::uint32_t size = suffixAt + static_cast<std::uint32_t>(suffix.size()) + 1;
        link += le(size, 4) + le(0x1C, 4) + le(infoFlags, 4) + le(0x1C, 4) + le(localAt, 4) + le(0, 4) +
                le(suffixAt, 4) + volume + base + '\0' + suffix + '\0';
        return link;
    }
};

// Where the link information of Link{} starts, and its fields there.
constexpr std::size_t kInfo = 0x4C + 2 + 6;
constexpr std::size_t kInfoSizeAt = kInfo, kLocalAt = kInfo + 16, kSuffixAt = kInfo + 24;

std::string patched(std::string bytes, std::size_t at, const std::string& with) {
    return bytes.replace(at, with.size(), with);
}

TEST(Shortcut, TheTargetIsTheLocalBasePathAndSuffixOfAWellFormedLinkAndNothingElse) {
    Link plain;
    Link split;
    split.base = "C:\\Apps\\";
    split.suffix = "Demo\\demo.exe";
    Link noIdList;
    noIdList.flags = 0x2;
    Link noInfo;
    noInfo.flags = 0x1;
    Link forcedOff;
    forcedOff.flags |= 0x100;
    Link networkOnly;
    networkOnly.infoFlags = 0x2;
    Link badHeader;
    badHeader.headerSize = 0x4D;
    const std::string good = plain.bytes();
    const struct {
        const char* what;
        std::string bytes;
        std::string target;
    } cases[] = {
        {"a plain link", good, "C:\\Apps\\Demo\\demo.exe"},
        {"base and suffix", split.bytes(), "C:\\Apps\\Demo\\demo.exe"},
        {"no target ID list", noIdList.bytes(), "C:\\Apps\\Demo\\demo.exe"},
        {"no link information", noInfo.bytes(), ""},
        {"link information switched off", forcedOff.bytes(), ""},
        {"a network path only", networkOnly.bytes(), ""},
        {"a header of another size", badHeader.bytes(), ""},
        {"another class", patched(good, 19, "\x47"), ""},
        {"an ID list running past the end", patched(good, 0x4C, le(0xFFFF, 2)), ""},
        {"link information longer than the file", patched(good, kInfoSizeAt, le(0x1000, 4)), ""},
        {"link information cut before the path ends", patched(good, kInfoSizeAt, le(0x30, 4)), ""},
        {"a path offset far out", patched(good, kLocalAt, le(0xFFFFFFF0u, 4)), ""},
        {"a path offset inside the header", patched(good, kLocalAt, le(0x10, 4)), ""},
        {"a suffix offset far out", patched(good, kSuffixAt, le(0xFFFFFFF0u, 4)), ""},
        {"empty", "", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(shortcutTarget(c.bytes), c.target) << c.what;
    // Cut anywhere, the link gives no path: every field is read within the bytes given.
    for (std::size_t cut = 0; cut < good.size(); ++cut)
        EXPECT_EQ(shortcutTarget(good.substr(0, cut)), "") << cut;
}

// Lead bytes of a Japanese double-byte code page; their trail bytes include letters and the backslash.
bool isShiftJisLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

TEST(Shortcut, OnlyATargetInsideTheFolderBelongsToIt) {
    const struct {
        const char* target;
        const char* folder;
        bool inside;
    } cases[] = {
        {"C:\\Program Files\\Korvex\\korvex.exe", "C:\\Program Files\\Korvex", true},
        {"c:\\PROGRAM FILES\\korvex\\korvex.exe", "C:\\Program Files\\Korvex", true},
        {"C:\\Program Files\\Korvex\\sub\\korvex.exe", "C:\\Program Files\\Korvex", true},
        {"C:\\Program Files\\Korvex", "C:\\Program Files\\Korvex", false},
        {"C:\\Program Files\\Korvex\\", "C:\\Program Files\\Korvex", false},
        {"C:\\Program Files\\Korvex2\\korvex.exe", "C:\\Program Files\\Korvex", false},
        {"C:\\Program Files\\Other\\korvex.exe", "C:\\Program Files\\Korvex", false},
        {"D:\\Program Files\\Korvex\\korvex.exe", "C:\\Program Files\\Korvex", false},
        {"C:\\Program Files\\Korvex\\..\\Other\\x.exe", "C:\\Program Files\\Korvex", false},
        {"C:\\Program Files\\Korvex\\.\\x.exe", "C:\\Program Files\\Korvex", false},
        {"C:\\Program Files\\Korvex\\..", "C:\\Program Files\\Korvex", false},
        {"C:\\Program Files\\Korvex\\..x\\a.exe", "C:\\Program Files\\Korvex", true},
        {"", "C:\\Program Files\\Korvex", false},
        {"C:\\x.exe", "", false},
        // Double-byte characters match only byte for byte: 0x83 0x61 and 0x83 0x41 are two characters.
        {"C:\\\x83\x61\\x.exe", "C:\\\x83\x61", true},
        {"C:\\\x83\x41\\x.exe", "C:\\\x83\x61", false},
        // A trail byte 0x5C is no backslash, so "\x95\x5C.." is one name, not "..".
        {"C:\\\x83\x61\\\x95\\..\\x.exe", "C:\\\x83\x61", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(liesInside(c.target, c.folder, isShiftJisLeadByte), c.inside)
            << c.target << " in " << c.folder;
    }
    EXPECT_TRUE(liesInside("C:\\\x83\x41\\x.exe", "C:\\\x83\x61", noLeadBytes))
        << "single-byte: letters by case";
}

}  // namespace
