// The generated application icon is a well-formed .ico that Windows can use: three square 32-bit images, each
// with a transparency mask that matches its alpha, and a picture that is neither empty nor one flat colour.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

#ifdef UNINSTALLER_TEST_ICON

namespace {

using Bytes = std::vector<unsigned char>;

std::uint32_t readLe(const Bytes& data, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | data.at(at + i);
    return value;
}

Bytes readIcon() {
    std::ifstream in(UNINSTALLER_TEST_ICON, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Checks one image of the given size at offset; returns the number of distinct opaque colours.
std::size_t checkImage(const Bytes& icon, std::size_t offset, std::uint32_t length, int size) {
    EXPECT_EQ(readLe(icon, offset, 4), 40u);
    EXPECT_EQ(readLe(icon, offset + 4, 4), static_cast<std::uint32_t>(size));
    EXPECT_EQ(readLe(icon, offset + 8, 4), static_cast<std::uint32_t>(2 * size)) << "height counts the mask";
    EXPECT_EQ(readLe(icon, offset + 14, 2), 32u);
    const std::size_t pixels = offset + 40;
    const std::size_t maskStride = (size + 31) / 32 * 4;
    EXPECT_EQ(length, 40u + 4u * size * size + maskStride * size);
    std::set<std::uint32_t> colours;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            std::uint32_t bgra = readLe(icon, pixels + 4 * (y * size + x), 4);
            bool transparentInMask =
                icon.at(pixels + 4 * size * size + y * maskStride + x / 8) & (0x80 >> x % 8);
            EXPECT_EQ(transparentInMask, (bgra >> 24) == 0) << "pixel " << x << "," << y;
            if ((bgra >> 24) == 255) colours.insert(bgra);
        }
    }
    EXPECT_EQ(readLe(icon, pixels, 4) >> 24, 0u) << "corners are transparent";
    EXPECT_EQ(readLe(icon, pixels + 4 * (size / 2 * size + size / 2), 4) >> 24, 255u) << "centre is opaque";
    return colours.size();
}

TEST(UninstallerIcon, HoldsThreeWellFormedImages) {
    const Bytes icon = readIcon();
    ASSERT_GE(icon.size(), 6u + 3 * 16);
    EXPECT_EQ(readLe(icon, 0, 2), 0u);
    EXPECT_EQ(readLe(icon, 2, 2), 1u) << "type icon";
    ASSERT_EQ(readLe(icon, 4, 2), 3u);
    std::size_t expectedOffset = 6 + 3 * 16;
    const int sizes[] = {16, 32, 48};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(sizes[i]);
        const std::size_t entry = 6 + 16 * i;
        EXPECT_EQ(icon.at(entry), sizes[i]);
        EXPECT_EQ(icon.at(entry + 1), sizes[i]);
        EXPECT_EQ(readLe(icon, entry + 6, 2), 32u);
        const std::uint32_t length = readLe(icon, entry + 8, 4);
        const std::uint32_t offset = readLe(icon, entry + 12, 4);
        ASSERT_EQ(offset, expectedOffset);
        ASSERT_LE(offset + length, icon.size());
        EXPECT_GE(checkImage(icon, offset, length, sizes[i]), 3u) << "a picture, not a flat tile";
        expectedOffset += length;
    }
    EXPECT_EQ(expectedOffset, icon.size());
}

}  // namespace

#endif
