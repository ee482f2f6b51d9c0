// Pictures in the text page: placement on lines of their own, page breaks, and pictures that
// cannot be shown.
#include <string>

#include "shell/shell.h"
#include "text_page_fixture.h"

namespace test_fonts {
namespace {

constexpr Rgb kPictureColour = {0, 0, 248};

bool pictureAt(int x, int y) {
    return hasColour(screen, x, y, kPictureColour);
}

TEST_F(TextPageTest, PictureSitsCentredOneLineBelowItsLine) {
    writePicture("pic.bmp", 20, 15, kPictureColour);
    layOut("ab<IMAGE>pic.bmp</IMAGE>cd");
    EXPECT_EQ(page.lastPage, 0);
    draw(0);
    EXPECT_EQ(lineAt(kTop), "ab");
    const int x = kLeft + (kWidth - 20) / 2, y = kTop + kNormalHeight;
    EXPECT_TRUE(pictureAt(x, y));
    EXPECT_TRUE(pictureAt(x + 19, y + 14));
    EXPECT_FALSE(pictureAt(x - 1, y));
    EXPECT_FALSE(pictureAt(x + 20, y));
    EXPECT_FALSE(pictureAt(x, y + 15));
    EXPECT_EQ(lineAt(y + 15), "cd");  // the text goes on under the picture, from the left
}

TEST_F(TextPageTest, PictureThatDoesNotFitOpensTheNextPageWithTheCharacterBeforeIt) {
    writePicture("pic.bmp", 20, 30, kPictureColour);
    layOut("a\nb\nc<IMAGE>pic.bmp</IMAGE>d");  // "c" at y 60; the picture would reach y 100
    ASSERT_EQ(page.lastPage, 1);
    draw(0);
    EXPECT_EQ(lineAt(kTop + 4 * kNormalHeight, kLeft + 20), "c");
    EXPECT_EQ(firstInkColumn(screen, kTop + kHeight + kNormalHeight, 0, 240), -1);  // no picture
    draw(1);
    EXPECT_EQ(lineAt(kTop), "c");
    EXPECT_TRUE(pictureAt(kLeft + (kWidth - 20) / 2, kTop + kNormalHeight));
    EXPECT_EQ(lineAt(kTop + kNormalHeight + 30), "d");
}

TEST_F(TextPageTest, PictureThatCannotBeLoadedIsLeftOut) {
    testing_support::writeFile(folder_ + "broken.bmp", "BM not really a bitmap");
    layOut("a<IMAGE>missing.bmp</IMAGE>b<IMAGE>broken.bmp</IMAGE>c<IMAGE></IMAGE>d");
    EXPECT_EQ(page.lastPage, 0);
    draw(0);
    EXPECT_EQ(lineAt(kTop), "abcd");
}

TEST_F(TextPageTest, PictureTallerThanAnEmptyPageIsLeftOutInsteadOfBreakingForever) {
    writePicture("tall.bmp", 20, kHeight, kPictureColour);  // a line plus the picture never fit
    layOut("<IMAGE>tall.bmp</IMAGE>a");
    EXPECT_EQ(page.lastPage, 0);
    draw(0);
    EXPECT_EQ(lineAt(kTop), "a");

    layOut("a\nb\nc<IMAGE>tall.bmp</IMAGE>d");  // one break is tried, then the picture is dropped
    EXPECT_EQ(page.lastPage, 1);
    draw(1);
    EXPECT_EQ(lineAt(kTop), "cd");
    EXPECT_FALSE(pictureAt(kLeft + (kWidth - 20) / 2, kTop + kNormalHeight));
}

TEST_F(TextPageTest, PictureAfterALineFeedAtAPageEndNeverMovesPagesBackOrGetsLost) {
    writePicture("tall.bmp", 20, kHeight, kPictureColour);  // fits no page
    layOut("a\nb\nc\n<IMAGE>tall.bmp</IMAGE>d");  // the line feed breaks the page, the tag opens the next
    EXPECT_EQ(page.lastPage, 1);
    draw(1);
    EXPECT_EQ(lineAt(kTop), "d");

    writePicture("pic.bmp", 20, 25, kPictureColour);  // fits an empty page, not one under a line feed
    layOut("a\nb\n<IMAGE>pic.bmp</IMAGE>d");
    ASSERT_EQ(page.lastPage, 1);
    draw(1);
    EXPECT_TRUE(pictureAt(kLeft + (kWidth - 20) / 2, kTop + kNormalHeight));
    EXPECT_EQ(lineAt(kTop + kNormalHeight + 25), "d");
}

TEST_F(TextPageTest, PicturePathIsVerbatimRelativeToTheProgramFolderOrAbsolute) {
    writePicture("pic one.bmp", 10, 5, kPictureColour);
    layOut("<IMAGE>pic one.bmp</IMAGE>");
    draw(0);
    EXPECT_TRUE(pictureAt(kLeft + (kWidth - 10) / 2, kTop + kNormalHeight));

    layOut("<IMAGE>" + folder_ + "pic one.bmp</IMAGE>");
    draw(0);
    EXPECT_TRUE(pictureAt(kLeft + (kWidth - 10) / 2, kTop + kNormalHeight));

    layOut("<IMAGE>pic one.bmp\n</IMAGE>");  // the line feed is part of the path
    draw(0);
    EXPECT_FALSE(pictureAt(kLeft + (kWidth - 10) / 2, kTop + kNormalHeight));
}

TEST_F(TextPageTest, PicturePathsLongerThan255CharactersAreUsedWhole) {
    writePicture("pic.bmp", 10, 5, kPictureColour);
    std::string longPath;
    while (longPath.size() < 300) longPath += "./";
    layOut("<IMAGE>" + longPath + "pic.bmp</IMAGE>");
    draw(0);
    EXPECT_TRUE(pictureAt(kLeft + (kWidth - 10) / 2, kTop + kNormalHeight));

    layOut("a<IMAGE>" + std::string(5000, 'p') + "</IMAGE>b");
    draw(0);
    EXPECT_EQ(lineAt(kTop), "ab");
}

TEST_F(TextPageTest, UnterminatedPicturePathRunsToTheEndOfTheText) {
    writePicture("pic.bmp", 10, 5, kPictureColour);
    layOut("a<IMAGE>pic.bmp");
    draw(0);
    EXPECT_EQ(lineAt(kTop), "a");
    EXPECT_TRUE(pictureAt(kLeft + (kWidth - 10) / 2, kTop + kNormalHeight));
}

TEST_F(TextPageTest, FontWithMoreThan255MarkersIsCutToTheTable) {
    SDL_Surface* wide = testing_support::makeSurface(1000, 8, kMarker);  // every column a marker
    layOut("ab cd");
    page.setNormalFont(wide);
    page.useFont(0);
    page.setText(text_.c_str());
    draw(0);
    EXPECT_EQ(page.lastPage, 0);
    EXPECT_EQ(firstInkColumn(screen, kTop + 1, 0, 240), -1);  // every glyph 0 wide
    SDL_FreeSurface(wide);
}

}  // namespace
}  // namespace test_fonts
