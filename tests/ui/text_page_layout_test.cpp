// Word wrapping, paragraphs, tags and page breaks of the text page.
#include <string>
#include <vector>

#include "shell/shell.h"
#include "text_page_fixture.h"

namespace test_fonts {
namespace {

const std::string kEleven = "abcdefghijk";  // 55 pixels: one per line in a 59-pixel rectangle

TEST_F(TextPageTest, EmptyTextHasOnePageShowingOnlyTheBackground) {
    layOut("");
    EXPECT_EQ(page.lastPage, 0);
    clearScreen(screen);
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 252, 0));
    page.drawPage();
    EXPECT_TRUE(hasColour(screen, 0, 0, kPaper));  // background covers the screen
    EXPECT_EQ(firstInkColumn(screen, kTop + 1, 0, 240), -1);
    page.nextPage();
    EXPECT_EQ(page.currentPage, 0);
    page.previousPage();
    EXPECT_EQ(page.currentPage, 0);
}

TEST_F(TextPageTest, WordEndingExactlyAtTheRightEdgeStaysOnePixelMoreWraps) {
    layOut("abcd efghijk");  // 20 + 4 + 35 = 59 pixels
    draw(0);
    EXPECT_EQ(lineAt(kTop), "abcd efghijk");

    page.setArea(kLeft, kTop, kWidth - 1, kHeight);
    page.setText(text_.c_str());
    draw(0);
    EXPECT_EQ(lineAt(kTop), "abcd");
    EXPECT_EQ(lineAt(kTop + kNormalHeight), "efghijk");
}

TEST_F(TextPageTest, TwoSpacesAdvanceEightAndOnlyTheSecondMeasuresTheWord) {
    layOut("a  b");
    draw(0);
    EXPECT_EQ(lineAt(kTop), "a  b");
    EXPECT_EQ(firstInkColumn(screen, kTop + 1, kLeft + kNormalWidth, 240), kLeft + kNormalWidth + 8);

    // The first space sees another space, measures nothing and fits; the second one wraps "bc".
    layOut(kEleven + "  bc");
    draw(0);
    EXPECT_EQ(lineAt(kTop), kEleven);
    EXPECT_EQ(lineAt(kTop + kNormalHeight), "bc");
}

TEST_F(TextPageTest, FirstWordsAreNeverMovedAndLongWordsRunPastTheEdge) {
    layOut(kEleven + "lmn<I>" + kEleven + " x");  // first word, then a word straight after a tag
    draw(0);
    EXPECT_EQ(lineAt(kTop), kEleven + "lmn" + kEleven);
    EXPECT_EQ(lineAt(kTop + kNormalHeight), "x");
}

TEST_F(TextPageTest, LineFeedStartsAnIndentedParagraphTwoLinesLower) {
    layOut("ab\ncd");
    draw(0);
    EXPECT_EQ(lineAt(kTop), "ab");
    EXPECT_EQ(lineAt(kTop + kNormalHeight), "");
    EXPECT_EQ(lineAt(kTop + 2 * kNormalHeight, kLeft + 20), "cd");
    EXPECT_EQ(firstInkColumn(screen, kTop + 2 * kNormalHeight + 1, 0, 240), kLeft + 20);
}

TEST_F(TextPageTest, CarriageReturnLineFeedLaysOutLikeLineFeed) {
    const std::string body = "ab cd\nef " + kEleven + "\n\ngh " + kEleven + " ij\nkl\nmn\nop";
    std::string crlf;
    for (char c : body) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);

    layOut(body);
    const int pages = page.lastPage;
    ASSERT_GT(pages, 0);
    std::vector<std::string> expected;
    for (int k = 0; k <= pages; ++k) {
        draw(k);
        for (int y = kTop; y <= kTop + kHeight; y += kNormalHeight) expected.push_back(lineAt(y));
    }
    layOut(crlf);
    EXPECT_EQ(page.lastPage, pages);
    std::vector<std::string> got;
    for (int k = 0; k <= pages; ++k) {
        draw(k);
        for (int y = kTop; y <= kTop + kHeight; y += kNormalHeight) got.push_back(lineAt(y));
    }
    EXPECT_EQ(got, expected);
}

TEST_F(TextPageTest, LineAtTheBottomEdgeIsStillDrawnTheNextOneOpensAPage) {
    layOut("aaa " + kEleven + " bbb " + kEleven + " ccc " + kEleven);  // six lines, 10 pixels each
    EXPECT_EQ(page.lastPage, 1);
    draw(0);
    EXPECT_EQ(lineAt(kTop), "aaa");
    EXPECT_EQ(lineAt(kTop + kHeight), "ccc");  // top exactly at the bottom edge
    EXPECT_EQ(lineAt(kTop + kHeight + kNormalHeight), "");
    draw(1);
    EXPECT_EQ(lineAt(kTop), kEleven);  // a page after a wrap starts at (left, top)
}

TEST_F(TextPageTest, PageAfterAParagraphBreakIsDrawnWithoutIndent) {
    layOut("a\nb\nc\nd");  // lines at 20, 40, 60, then 80 is past the bottom
    EXPECT_EQ(page.lastPage, 1);
    draw(1);
    EXPECT_EQ(lineAt(kTop, 0), std::string(kLeft / kSpaceWidth, ' ') + "d");
    EXPECT_EQ(firstInkColumn(screen, kTop + 1, 0, 240), kLeft);
}

TEST_F(TextPageTest, ParagraphIndentCarriesOverAPageBreakInPaginationOnly) {
    // From left + 20 the first line holds one word, from left two: ten words need six lines, not five.
    layOut("a\nb\nc\nabcd efgh ijkl mnop qrst uvwx yzab cdef ghij klmn");
    ASSERT_EQ(page.lastPage, 2);
    draw(1);
    EXPECT_EQ(lineAt(kTop), "abcd efgh");
    draw(2);
    EXPECT_EQ(lineAt(kTop), "klmn");
}

TEST_F(TextPageTest, WordsAreMeasuredGlyphByGlyphUpToASpaceTagOrCarriageReturn) {
    std::vector<int> widths;
    for (int k = 0; k <= '~' - '!'; ++k) widths.push_back(1 + k % 4);
    auto measure = [&](const std::string& s) {
        int w = 0;
        for (char c : s) w += widths[c - '!'];
        return w;
    };
    SDL_Surface* font = buildFont(widths, kNormalHeight);
    // A page of no height: a wrap at the space opens a second page.
    const struct {
        const char* text;
        const char* measured;
    } cases[] = {{"ab cd", "cd"}, {"ab cd<x>ef", "cd"}, {"ab c>d", "c>d"}, {"ab cd\rx", "cd"}};
    for (const auto& c : cases) {
        for (int less : {0, 1}) {
            page = TextPage{};
            page.setArea(kLeft, kTop, measure("ab") + kSpaceWidth + measure(c.measured) - less, 0);
            page.setNormalFont(font);
            page.useFont(0);
            page.setText(c.text);
            EXPECT_EQ(page.lastPage, less) << c.text << " one pixel less: " << less;
        }
    }
    SDL_FreeSurface(font);
}

TEST_F(TextPageTest, TextEndingWithTheFullPageOpensNoEmptyPage) {
    layOut("a\nb\nc\n");
    EXPECT_EQ(page.lastPage, 0);
    layOut("a\nb\nc\n ");  // one space remains: a page is opened for it
    EXPECT_EQ(page.lastPage, 1);
}

TEST_F(TextPageTest, BoldTagsSwitchFontAndLineHeight) {
    layOut("a<BOLD>bc</BOLD>d<BOLD>\ne</BOLD>");
    draw(0);
    EXPECT_EQ(lineAt(kTop), "aBCd");
    EXPECT_EQ(lineAt(kTop + 2 * kBoldHeight, kLeft + 20), "E");  // the break used the bold height
}

TEST_F(TextPageTest, BoldPassageOverAPageEndStartsTheNextPageInBold) {
    layOut("a<BOLD>b\nc\nd\ne</BOLD>f");  // page 0 ends inside the bold passage
    ASSERT_EQ(page.lastPage, 1);
    draw(0);
    EXPECT_EQ(lineAt(kTop), "aB");
    EXPECT_EQ(lineAt(kTop + 2 * kBoldHeight, kLeft + 20), "C");
    draw(1);
    EXPECT_EQ(lineAt(kTop), "D");
    EXPECT_EQ(lineAt(kTop + 2 * kBoldHeight, kLeft + 20), "Ef");
    draw(1);  // the font is the page's state: this pass starts where the last one ended, in normal
    EXPECT_EQ(lineAt(kTop), "d");
}

TEST_F(TextPageTest, PaginationLeavesTheFontOfTheLastBoldTag) {
    layOut("a<BOLD>b");
    draw(0);
    EXPECT_EQ(lineAt(kTop), "AB");
}

TEST_F(TextPageTest, TagsOtherThanTheThreeAndStrayClosersAreIgnored) {
    layOut("a<bold>b</IMAGE>c<BOLD >d>e</BOLD>f");
    draw(0);
    EXPECT_EQ(lineAt(kTop), "abcdef");
}

TEST_F(TextPageTest, UnterminatedTagSwallowsTheRestOfTheText) {
    layOut("ab<BOLD cd\n\n\n\n\n\nef");
    EXPECT_EQ(page.lastPage, 0);
    draw(0);
    EXPECT_EQ(lineAt(kTop), "ab");
    EXPECT_EQ(firstInkColumn(screen, kTop + 2 * kNormalHeight + 1, 0, 240), -1);
}

TEST_F(TextPageTest, WordsAndTagsLongerThan255CharactersAreHandled) {
    const std::string longWord(600, 'w');
    const std::string longTag = "<" + std::string(400, 't') + ">";
    layOut(longWord + " a" + longTag + "b " + longWord);
    EXPECT_EQ(page.lastPage, 0);
    draw(0);
    EXPECT_EQ(lineAt(kTop + kNormalHeight), "ab");
    EXPECT_EQ(lineAt(kTop + 2 * kNormalHeight).substr(0, 4), "wwww");
}

TEST_F(TextPageTest, AtMostOneHundredPages) {
    std::string text;
    for (int k = 0; k < 1000; ++k) text += kEleven + " ";  // five lines per page: 200 pages' worth
    text += "z";
    layOut(text);
    EXPECT_EQ(page.lastPage, TextPage::kMaxPages - 1);
    draw(TextPage::kMaxPages - 1);
    EXPECT_EQ(lineAt(kTop), kEleven);
    EXPECT_EQ(lineAt(kTop + kHeight), kEleven);
    page.nextPage();
    EXPECT_EQ(page.currentPage, TextPage::kMaxPages - 1);
}

TEST_F(TextPageTest, PagingStaysWithinTheText) {
    layOut("a\nb\nc\nd\ne\nf\ng");  // three pages
    ASSERT_EQ(page.lastPage, 2);
    page.previousPage();
    EXPECT_EQ(page.currentPage, 0);
    page.nextPage();
    page.nextPage();
    page.nextPage();
    EXPECT_EQ(page.currentPage, 2);
    page.previousPage();
    EXPECT_EQ(page.currentPage, 1);
    page.setText(text_.c_str());  // paginating again keeps the page
    EXPECT_EQ(page.currentPage, 1);
}

}  // namespace
}  // namespace test_fonts
