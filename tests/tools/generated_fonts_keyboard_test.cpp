// The generated fonts follow the marker-row format the text code reads, and the keyboard pictures
// show every key where the name entry tests for it.
#include <gtest/gtest.h>

#include <vector>

#include "generated_data.h"
#include "persist/key_table.h"

namespace tooltest {
namespace {

constexpr int kGlyphs = 126 - 33 + 1;

struct FontRow {
    std::vector<int> markers;
    std::uint16_t marker;
};

FontRow markerRow(const pack::RawImage& font) {
    FontRow row{{}, raw565(font, 0, 0)};
    for (int x = 0; x < font.width; ++x)
        if (raw565(font, x, 0) == row.marker) row.markers.push_back(x);
    return row;
}

void expectFontFormat(int slot, std::uint16_t key) {
    const pack::RawImage& font = slotImage(slot);
    const FontRow row = markerRow(font);
    ASSERT_EQ(row.markers.size(), static_cast<std::size_t>(kGlyphs + 1)) << "slot " << slot;
    EXPECT_NE(row.marker, key) << "slot " << slot;
    EXPECT_GE(font.height, 12);
    EXPECT_LE(font.height, 14);
    for (int g = 0; g < kGlyphs; ++g) {
        const int first = row.markers[g] + 1, end = row.markers[g + 1];
        EXPECT_GT(end, first) << "slot " << slot << ": empty glyph for '" << char(33 + g) << "'";
        bool inked = false;
        for (int x = first; x < end; ++x) {
            EXPECT_EQ(raw565(font, x, 0), key) << "slot " << slot << ": marker row not transparent at " << x;
            for (int y = 1; y < font.height; ++y) inked = inked || raw565(font, x, y) != key;
        }
        EXPECT_TRUE(inked) << "slot " << slot << ": no ink for '" << char(33 + g) << "'";
    }
    EXPECT_EQ(raw565(font, 0, 5), key) << "slot " << slot << ": column 0 must be background";
}

TEST(GeneratedFonts, FollowTheMarkerRowFormatWithTheirKeys) {
    expectFontFormat(kFont, to565(156, 156, 156));
    expectFontFormat(kFontBold, to565(128, 128, 128));
    // The white font is keyed by its own pixel at (0, 5).
    expectFontFormat(kFontWhite, raw565(slotImage(kFontWhite), 0, 5));
}

TEST(GeneratedFonts, WhiteTextIsLightAndDarkTextIsDark) {
    const pack::RawImage& white = slotImage(kFontWhite);
    const pack::RawImage& dark = slotImage(kFont);
    const std::uint16_t whiteKey = raw565(white, 0, 5), darkKey = to565(156, 156, 156);
    int brightest = 0, darkest = 255;
    for (int y = 1; y < white.height; ++y)
        for (int x = 0; x < white.width; ++x)
            if (raw565(white, x, y) != whiteKey) brightest = std::max(brightest, luma(white, x, y));
    for (int y = 1; y < dark.height; ++y)
        for (int x = 1; x < dark.width; ++x)
            if (raw565(dark, x, y) != darkKey && raw565(dark, x, 0) != raw565(dark, 0, 0))
                darkest = std::min(darkest, luma(dark, x, y));
    EXPECT_GE(brightest, 230);
    EXPECT_LE(darkest, 60);
}

bool differInside(const pack::RawImage& a, const pack::RawImage& b, const platform::Rect& r) {
    for (int y = r.top + 1; y < r.bottom - 1; ++y)
        for (int x = r.left + 1; x < r.right - 1; ++x)
            if (raw565(a, x, y) != raw565(b, x, y)) return true;
    return false;
}

TEST(GeneratedKeyboard, EveryKeyLooksPushedInThePushedPictures) {
    for (int k = 0; k < kKeyCount; ++k) {
        EXPECT_TRUE(differInside(slotImage(kKeyboardSmall), slotImage(kKeyboardSmallPushed), kKeys[k].rect))
            << k;
        EXPECT_TRUE(differInside(slotImage(kKeyboardLarge), slotImage(kKeyboardLargePushed), kKeys[k].rect))
            << k;
    }
}

TEST(GeneratedKeyboard, KeysAreFramedAtTheirRectangles) {
    // Every key's left column and top row is drawn as its edge, one colour along the whole edge.
    for (int slot : {kKeyboardSmall, kKeyboardLarge, kKeyboardSmallPushed, kKeyboardLargePushed}) {
        const pack::RawImage& keyboard = slotImage(slot);
        for (int k = 0; k < kKeyCount; ++k) {
            const platform::Rect& r = kKeys[k].rect;
            const std::uint16_t edge = raw565(keyboard, r.left, r.top + 1);
            EXPECT_EQ(raw565(keyboard, r.left, r.bottom - 2), edge) << "slot " << slot << " key " << k;
            EXPECT_EQ(raw565(keyboard, r.right - 1, r.top + 1), edge) << "slot " << slot << " key " << k;
            EXPECT_NE(raw565(keyboard, r.left + 2, r.top + 2), edge) << "slot " << slot << " key " << k;
        }
    }
}

TEST(GeneratedKeyboard, LetterKeysShowTheirCase) {
    // Rows of letter keys: q to p, a to l, z to m; their labels differ between the two cases.
    for (int k : {15, 16, 24, 28, 36, 41, 47}) {
        EXPECT_TRUE(differInside(slotImage(kKeyboardSmall), slotImage(kKeyboardLarge), kKeys[k].rect)) << k;
    }
    // A key of the same label in both cases (the space bar) looks the same.
    EXPECT_FALSE(differInside(slotImage(kKeyboardSmall), slotImage(kKeyboardLarge), kKeys[53].rect));
}

}  // namespace
}  // namespace tooltest
