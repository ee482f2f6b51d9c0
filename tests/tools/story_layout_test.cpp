// The story pagination follows the help page's layout rules, which decide whether the story fits.
#include "assetgen/story_layout.h"

#include <gtest/gtest.h>

namespace {

using story::Area;
using story::FontMetrics;

// Every letter 5 pixels wide; the normal font 10 pixels high, the bold one 20.
struct Fonts {
    FontMetrics pair[2];
    Fonts() {
        for (int slot = 0; slot < 2; ++slot) {
            pair[slot].height = 10 * (slot + 1);
            for (int c = 33; c < 127; ++c) pair[slot].advance[c] = 5;
        }
    }
};

int noPictures(const std::string&) {
    return -1;
}

std::vector<std::size_t> pages(const std::string& text, const Area& area,
                               const story::PictureHeight& pictures = noPictures) {
    const Fonts fonts;
    const story::Pagination result = story::paginate(text, fonts.pair, area, pictures);
    EXPECT_EQ(result.problem, "");
    return result.pageStarts;
}

using Starts = std::vector<std::size_t>;

// A height of 0 makes any second line start a new page, which shows where lines wrap.
TEST(StoryLayout, AWordEndingAtTheRightEdgeStaysOnTheLine) {
    EXPECT_EQ(pages("aaaa aaaa", Area{0, 0, 44, 0}), Starts({0}));
    EXPECT_EQ(pages("aaaa aaaa", Area{0, 0, 43, 0}), Starts({0, 5}));
}

TEST(StoryLayout, EachSpaceAdvancesFourAndOnlyTheLastMeasuresTheWord) {
    EXPECT_EQ(pages("aaaa  aaaa", Area{0, 0, 48, 0}), Starts({0}));
    EXPECT_EQ(pages("aaaa  aaaa", Area{0, 0, 47, 0}), Starts({0, 6}));
}

TEST(StoryLayout, ALineFeedMovesTwoLinesDownAndIndentsTheParagraph) {
    EXPECT_EQ(pages("a\na", Area{0, 0, 100, 20}), Starts({0})) << "a line exactly at the bottom still fits";
    EXPECT_EQ(pages("a\na", Area{0, 0, 100, 19}), Starts({0, 2}));
    // The indented line holds 20 + 20 + 4 + 20 pixels.
    EXPECT_EQ(pages("a\naaaa aaaa", Area{0, 0, 64, 20}), Starts({0}));
    EXPECT_EQ(pages("a\naaaa aaaa", Area{0, 0, 63, 20}), Starts({0, 7}));
}

TEST(StoryLayout, CarriageReturnsChangeNothing) {
    for (int height : {5, 19, 20, 45}) {
        EXPECT_EQ(pages("aa\r\nbb\r\ncc", Area{0, 0, 100, height}).size(),
                  pages("aa\nbb\ncc", Area{0, 0, 100, height}).size())
            << height;
    }
}

TEST(StoryLayout, BoldTextUsesTheBoldFontsLineHeight) {
    EXPECT_EQ(pages("a\na", Area{0, 0, 100, 39}), Starts({0}));
    EXPECT_EQ(pages("<BOLD>a\na</BOLD>", Area{0, 0, 100, 39}), Starts({0, 8}));
}

TEST(StoryLayout, APictureThatDoesNotFitOpensTheNextPageJustBeforeItsTag) {
    const auto picture = [](const std::string& path) { return path == "pic" ? 15 : -1; };
    // Line feed to y 20; the picture would span y 30 to 45 below a page ending at 30.
    EXPECT_EQ(pages("a\na <IMAGE>pic</IMAGE>", Area{0, 0, 100, 30}, picture), Starts({0, 3}));
    EXPECT_EQ(pages("a\na <IMAGE>pic</IMAGE>", Area{0, 0, 100, 45}, picture), Starts({0}));
    // A picture that cannot be loaded is skipped.
    EXPECT_EQ(pages("a\na <IMAGE>lost</IMAGE>", Area{0, 0, 100, 30}, picture), Starts({0}));
}

TEST(StoryLayout, APictureTallerThanAnyPageIsReportedInsteadOfLoopingForever) {
    const Fonts fonts;
    const auto huge = [](const std::string&) { return 500; };
    const story::Pagination result =
        story::paginate("a <IMAGE>pic</IMAGE>", fonts.pair, Area{0, 0, 100, 100}, huge);
    EXPECT_NE(result.problem, "");
}

TEST(StoryLayout, ThePageDrawnFromAPageStartEndsWhereItFills) {
    const Fonts fonts;
    const std::string text = "aaaa aaaa aaaa";
    EXPECT_TRUE(story::drawingReachesEnd(text, 0, 0, fonts.pair, Area{0, 0, 100, 0}, noPictures));
    EXPECT_FALSE(story::drawingReachesEnd(text, 0, 0, fonts.pair, Area{0, 0, 30, 0}, noPictures));
    EXPECT_TRUE(story::drawingReachesEnd(text, 10, 0, fonts.pair, Area{0, 0, 30, 0}, noPictures));
}

TEST(StoryLayout, MarkerRowsGiveGlyphWidths) {
    const std::uint32_t m = 7, k = 1;
    const FontMetrics metrics = story::metricsFromMarkerRow({m, k, k, m, k, m, m, k, k, k, m}, 13);
    EXPECT_EQ(metrics.height, 13);
    EXPECT_EQ(metrics.advance['!'], 2);
    EXPECT_EQ(metrics.advance['"'], 1);
    EXPECT_EQ(metrics.advance['#'], 0);
    EXPECT_EQ(metrics.advance['$'], 3);
    EXPECT_EQ(metrics.advance['%'], 0) << "no glyph past the last marker";
}

}  // namespace
