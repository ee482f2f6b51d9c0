// The help screen: paging the story, closing at the third page, and where the next visit starts.
#include <string>

#include "menu_fixture.h"
#include "platform/script/script.h"
#include "ui/screens.h"
#include "ui/text_page.h"

namespace menu_test {
namespace {

namespace script = platform::script;

constexpr int kTextLeft = 19, kTextTop = 60;

// One-letter paragraphs from "A": ten fit on a page of the help rectangle.
std::string paragraphs(int count) {
    std::string story;
    for (int k = 0; k < count; ++k) story += std::string(1, static_cast<char>('A' + k)) + "\n";
    return story;
}

class HelpTest : public MenuTest {
  protected:
    // Records the first letter of the page shown each time the game waits.
    void recordPages() {
        onIdle([this] { pages_ += glyphAt(kTextLeft, kTextTop) ? glyphAt(kTextLeft, kTextTop) : '-'; });
    }
    void tapNext(std::uint32_t after) { tapAt(200, 300, after); }
    void tapPrevious(std::uint32_t after) { tapAt(30, 300, after); }
    void tapBack(std::uint32_t after) { tapAt(120, 300, after); }
    std::string pages_;
};

TEST_F(HelpTest, StoryIsLaidOutOnTheHelpPicture) {
    setStory(paragraphs(25));
    EXPECT_EQ(helpPage.lastPage, 2);
    recordPages();
    tapBack(10);
    EXPECT_EQ(showHelp(), 1);
    EXPECT_EQ(screenShown(), kHelp);
    EXPECT_EQ(glyphAt(kTextLeft + 20, kTextTop + 20), 'B');  // second paragraph, indented
}

TEST_F(HelpTest, NextOnTheSecondPageClosesAndTheNextVisitStartsAtTheFirst) {
    setStory(paragraphs(25));
    recordPages();
    tapNext(10);
    tapPrevious(20);
    tapNext(30);
    tapNext(40);
    EXPECT_EQ(showHelp(), 1);
    EXPECT_EQ(pages_, "AKAK");
    EXPECT_EQ(helpPage.currentPage, 0);
    EXPECT_EQ(glyphAt(kTextLeft, kTextTop), 'A');  // the first page is drawn before leaving

    tapBack(10);
    EXPECT_EQ(showHelp(), 1);
    EXPECT_EQ(pages_, "AKAKA");
}

TEST_F(HelpTest, BackFromAnyPageStartsTheNextVisitAtTheFirst) {
    setStory(paragraphs(25));
    tapNext(10);
    tapBack(20);
    EXPECT_EQ(showHelp(), 1);
    EXPECT_EQ(helpPage.currentPage, 0);
}

TEST_F(HelpTest, QuitClosesTheHelpPageAndTheMenuKeepingThePage) {
    setStory(paragraphs(25));
    recordPages();
    tapAt(20, 100, 10);  // menu: help
    tapNext(20);
    quitAt(30);
    EXPECT_EQ(showMenu(0), 3);
    EXPECT_EQ(script::now(), 30u);
    EXPECT_EQ(pages_, "-AK");
    EXPECT_EQ(helpPage.currentPage, 1);
}

TEST_F(HelpTest, ShortStoriesOnlyRedraw) {
    setStory(paragraphs(15));  // two pages: next on the second one stays there
    recordPages();
    tapNext(10);
    tapNext(20);
    quitAt(30);
    EXPECT_EQ(showHelp(), 3);
    EXPECT_EQ(pages_, "AKK");
    EXPECT_EQ(helpPage.currentPage, 1);

    script::resetInput();
    setStory(paragraphs(3));  // one page
    pages_.clear();
    tapNext(10);
    tapPrevious(20);
    tapBack(30);
    EXPECT_EQ(showHelp(), 1);
    EXPECT_EQ(pages_, "AAA");
}

TEST_F(HelpTest, SpotEdges) {
    setStory(paragraphs(25));
    recordPages();
    tapAt(63, 300, 10);   // right edge of previous
    tapAt(239, 300, 20);  // right edge of next
    tapAt(200, 319, 30);  // bottom edge of next
    tapAt(150, 300, 40);  // right edge of back
    tapAt(180, 284, 50);  // next's top-left corner
    tapAt(91, 286, 60);   // back's top-left corner
    EXPECT_EQ(showHelp(), 1);
    EXPECT_EQ(pages_, "AAAAAK");
}

}  // namespace
}  // namespace menu_test
