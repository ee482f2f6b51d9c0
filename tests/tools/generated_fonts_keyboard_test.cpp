// The generated fonts follow the marker-row format the text code reads, and the keyboard pictures
// show every key where the name entry tests for it.
#include <gtest/gtest.h>

#include <vector>

#include "generated_data.h"

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

// The key rectangles of the on-screen keyboard (left, top, right, bottom in keyboard pixels).
const Rect kKeyRects[] = {
    {0, 0, 18, 18},     {17, 0, 35, 18},    {34, 0, 52, 18},    {51, 0, 69, 18},    {68, 0, 86, 18},
    {85, 0, 103, 18},   {102, 0, 120, 18},  {119, 0, 137, 18},  {136, 0, 154, 18},  {153, 0, 171, 18},
    {170, 0, 188, 18},  {187, 0, 205, 18},  {204, 0, 222, 18},  {221, 0, 240, 18},  {0, 17, 24, 35},
    {23, 17, 41, 35},   {40, 17, 58, 35},   {57, 17, 75, 35},   {74, 17, 92, 35},   {91, 17, 109, 35},
    {108, 17, 126, 35}, {125, 17, 143, 35}, {142, 17, 160, 35}, {159, 17, 177, 35}, {176, 17, 194, 35},
    {193, 17, 217, 35}, {216, 17, 240, 35}, {0, 34, 30, 51},    {29, 34, 47, 51},   {46, 34, 64, 51},
    {63, 34, 81, 51},   {80, 34, 98, 51},   {97, 34, 115, 51},  {114, 34, 132, 51}, {131, 34, 149, 51},
    {148, 34, 166, 51}, {165, 34, 183, 51}, {182, 34, 200, 51}, {199, 34, 217, 51}, {216, 34, 240, 52},
    {0, 51, 36, 68},    {35, 51, 53, 68},   {52, 51, 70, 68},   {69, 51, 87, 68},   {86, 51, 104, 68},
    {103, 51, 121, 68}, {120, 51, 138, 68}, {137, 51, 155, 68}, {154, 51, 172, 68}, {171, 51, 189, 68},
    {188, 51, 206, 68}, {205, 51, 240, 68}, {0, 68, 36, 86},    {35, 68, 205, 86},  {204, 68, 240, 86},
};
constexpr int kKeyCount = sizeof kKeyRects / sizeof kKeyRects[0];

bool differInside(const pack::RawImage& a, const pack::RawImage& b, const Rect& r) {
    for (int y = r.top + 1; y < r.bottom - 1; ++y)
        for (int x = r.left + 1; x < r.right - 1; ++x)
            if (raw565(a, x, y) != raw565(b, x, y)) return true;
    return false;
}

TEST(GeneratedKeyboard, EveryKeyLooksPushedInThePushedPictures) {
    ASSERT_EQ(kKeyCount, 55);
    for (int k = 0; k < kKeyCount; ++k) {
        EXPECT_TRUE(differInside(slotImage(kKeyboardSmall), slotImage(kKeyboardSmallPushed), kKeyRects[k]))
            << k;
        EXPECT_TRUE(differInside(slotImage(kKeyboardLarge), slotImage(kKeyboardLargePushed), kKeyRects[k]))
            << k;
    }
}

TEST(GeneratedKeyboard, KeysAreFramedAtTheirRectangles) {
    // Every key's left column and top row is drawn as its edge, one colour along the whole edge.
    for (int slot : {kKeyboardSmall, kKeyboardLarge, kKeyboardSmallPushed, kKeyboardLargePushed}) {
        const pack::RawImage& keyboard = slotImage(slot);
        for (int k = 0; k < kKeyCount; ++k) {
            const Rect& r = kKeyRects[k];
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
        EXPECT_TRUE(differInside(slotImage(kKeyboardSmall), slotImage(kKeyboardLarge), kKeyRects[k])) << k;
    }
    // A key of the same label in both cases (the space bar) looks the same.
    EXPECT_FALSE(differInside(slotImage(kKeyboardSmall), slotImage(kKeyboardLarge), kKeyRects[53]));
}

}  // namespace
}  // namespace tooltest
