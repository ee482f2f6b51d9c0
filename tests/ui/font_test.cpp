// Line text: glyph edges from the marker row, the pen's movement, and what draws nothing.
#include "ui/font.h"

#include <vector>

#include "resources/images.h"
#include "shell/shell.h"
#include "test_fonts.h"
#include "ui/glyph_edges.h"

using namespace test_fonts;

namespace {

class FontTest : public testing_support::SdlTest {
  protected:
    void SetUp() override {
        SdlTest::SetUp();
        selectFont(-1);
        clearScreen(screen);
    }
    void TearDown() override {
        for (SDL_Surface* s : owned_) SDL_FreeSurface(s);
        selectFont(-1);
        SdlTest::TearDown();
    }
    // Puts a font built by the test into an image slot.
    void install(int slot, SDL_Surface* font) {
        owned_.push_back(font);
        images[slot] = font;
    }
    std::vector<SDL_Surface*> owned_;
};

TEST_F(FontTest, GlyphWidthsComeFromTheDistanceBetweenMarkers) {
    install(kFont, buildFont({3, 0, 2, 5}, 7));
    selectFont(kFont);
    EXPECT_EQ(activeFontIndex(), kFont);
    EXPECT_EQ(textWidth("!"), 3);
    EXPECT_EQ(textWidth("\""), 0);  // two adjacent markers: a glyph of width 0
    EXPECT_EQ(textWidth("#"), 2);
    EXPECT_EQ(textWidth("$"), 5);
    EXPECT_EQ(textWidth("%"), 0);  // beyond the last marker: no glyph
    EXPECT_EQ(textWidth("!#$"), 10);
}

TEST_F(FontTest, MarkerColourIsWhateverPixelZeroHolds) {
    SDL_Surface* font = buildFont({2, 2}, 5);
    // Recolour the markers: the first pixel decides, so the layout stays the same.
    const Uint32 other = SDL_MapRGB(font->format, 0, 252, 0);
    for (int x : {0, 3, 6}) static_cast<Uint16*>(font->pixels)[x] = static_cast<Uint16>(other);
    install(kFont, font);
    selectFont(kFont);
    EXPECT_EQ(textWidth("!\""), 4);
}

TEST_F(FontTest, EdgeTableKeepsAtMost255MarkersAndNeverWritesPastThem) {
    SDL_Surface* font = testing_support::makeSurface(400, 3, kMarker);  // every column a marker
    owned_.push_back(font);
    std::vector<std::int32_t> edges(300, -7);
    EXPECT_EQ(buildGlyphEdges(font, edges.data()), kMaxGlyphEdges);
    EXPECT_EQ(edges[254], 254);
    for (std::size_t k = kMaxGlyphEdges; k < edges.size(); ++k) ASSERT_EQ(edges[k], -7) << k;
    EXPECT_EQ(buildGlyphEdges(nullptr, edges.data()), 0);
}

TEST_F(FontTest, GlyphsSitSideBySideAndCopyTheWholeCell) {
    install(kFont, buildFont({3, 0, 2}, 6));
    selectFont(kFont);
    drawText("!\"#", 10, 20, kFont);
    for (int x = 10; x < 13; ++x) EXPECT_TRUE(hasColour(screen, x, 21, inkOf(0))) << x;
    EXPECT_TRUE(hasColour(screen, 13, 21, inkOf(2)));
    EXPECT_TRUE(hasColour(screen, 14, 25, inkOf(2)));  // bottom row of the cell
    EXPECT_TRUE(hasColour(screen, 15, 21, kPaper));
    EXPECT_TRUE(hasColour(screen, 9, 21, kPaper));
    EXPECT_TRUE(hasColour(screen, 10, 26, kPaper));
    EXPECT_EQ(firstInkColumn(screen, 20, 0, 240), -1);  // the marker row is transparent
}

TEST_F(FontTest, SpacesAdvanceFourEach) {
    install(kFont, buildFont({2, 2}, 4));
    selectFont(kFont);
    drawText("! \"", 0, 0, kFont);
    drawText("!  \"", 0, 10, kFont);
    EXPECT_EQ(firstInkColumn(screen, 1, 2, 240), 6);
    EXPECT_EQ(firstInkColumn(screen, 11, 2, 240), 10);
    EXPECT_EQ(textWidth("!  \""), 12);
}

TEST_F(FontTest, LineFeedReturnsToTheStartFifteenPixelsLower) {
    install(kFont, buildFont({2, 3, 4}, 5));  // far shorter than the 15-pixel step
    selectFont(kFont);
    drawText("!\"\n#", 30, 40, kFont);
    EXPECT_TRUE(hasColour(screen, 30, 41, inkOf(0)));
    EXPECT_TRUE(hasColour(screen, 32, 41, inkOf(1)));
    EXPECT_TRUE(hasColour(screen, 30, 56, inkOf(2)));
    EXPECT_TRUE(hasColour(screen, 33, 56, inkOf(2)));
    EXPECT_TRUE(hasColour(screen, 34, 56, kPaper));
    EXPECT_EQ(textWidth("!\"\n#"), 5);  // measured up to the line feed
}

TEST_F(FontTest, BytesWithoutGlyphDrawNothingAndDoNotAdvance) {
    install(kFont, buildFont({2, 2}, 4));
    selectFont(kFont);
    drawText("!\x80\xff\x01\r#\"", 0, 0, kFont);  // high bytes, control bytes, past the last glyph
    EXPECT_TRUE(hasColour(screen, 1, 1, inkOf(0)));
    EXPECT_TRUE(hasColour(screen, 2, 1, inkOf(1)));
    EXPECT_EQ(firstInkColumn(screen, 1, 4, 240), -1);
    EXPECT_EQ(textWidth("!\x80\xff\x01\r#\""), 4);
}

TEST_F(FontTest, NoActiveFontOrNoTextDrawsNothing) {
    install(kFont, buildFont({2, 2}, 4));
    EXPECT_EQ(activeFontIndex(), -1);
    drawText("!!!", 0, 0, kFont);
    EXPECT_EQ(firstInkColumn(screen, 1, 0, 240), -1);
    EXPECT_EQ(textWidth("!!!"), 0);
    selectFont(kFont);
    drawText(nullptr, 0, 0, kFont);
    EXPECT_EQ(firstInkColumn(screen, 1, 0, 240), -1);
    selectFont(kImageCount);  // outside the table: no font again
    EXPECT_EQ(activeFontIndex(), -1);
}

TEST_F(FontTest, PositionsFromTheActiveFontPixelsFromTheGivenImage) {
    install(kFont, buildFont({3, 3}, 4));
    install(kFontWhite, buildFont({3, 3}, 4, 1));
    selectFont(kFont);
    drawText("!\"", 0, 0, kFontWhite);
    EXPECT_TRUE(hasColour(screen, 0, 1, inkOf(0, 1)));
    EXPECT_TRUE(hasColour(screen, 3, 1, inkOf(1, 1)));
}

TEST_F(FontTest, SelectingAnotherFontRebuildsTheEdges) {
    install(kFont, buildFont({3, 3}, 4));
    install(kFontWhite, buildFont({5, 1}, 4));
    selectFont(kFontWhite);
    EXPECT_EQ(textWidth("!\""), 6);
    selectFont(kFont);
    EXPECT_EQ(textWidth("!\""), 6);
    EXPECT_EQ(textWidth("!"), 3);
}

}  // namespace
