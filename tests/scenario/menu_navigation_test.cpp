// The main menu on the virtual clock: its hot spots and their edges, the queue drain, resume, and
// the way through the screens it opens.
#include "menu_fixture.h"
#include "platform/script/script.h"
#include "ui/screens.h"

namespace menu_test {
namespace {

namespace script = platform::script;

TEST_F(MenuTest, EachSpotLeadsWhereItShould) {
    tapAt(20, 40, 10);
    EXPECT_EQ(showMenu(0), 1);
    tapAt(20, 190, 10);
    EXPECT_EQ(showMenu(0), 3);
    quitAt(10);
    EXPECT_EQ(showMenu(0), 3);
}

TEST_F(MenuTest, RightAndBottomEdgesAreOutsideLeftAndTopInside) {
    tapAt(118, 40, 10);  // right edge of the new-game spot
    tapAt(20, 56, 20);   // its bottom edge
    tapAt(59, 190, 30);  // right edge of the leave spot
    tapAt(20, 204, 40);  // its bottom edge
    tapAt(10, 35, 50);   // top-left corner: inside
    EXPECT_EQ(showMenu(0), 1);
    EXPECT_EQ(script::now(), 50u);

    tapAt(117, 55, 60);  // the last pixel inside
    EXPECT_EQ(showMenu(0), 1);
}

TEST_F(MenuTest, TapQueuedBeforeTheMenuIsDroppedAQuitIsNot) {
    script::tap(20, 40);  // already due when the menu opens
    script::keyDown(SDLK_UP);
    quitAt(100);
    EXPECT_EQ(showMenu(0), 3);
    EXPECT_EQ(script::now(), 100u);

    script::resetInput();
    script::quit();  // during the splash or the game-over picture, say
    script::tap(20, 40);
    EXPECT_EQ(showMenu(0), 3);
    EXPECT_EQ(script::now(), 100u);
}

TEST_F(MenuTest, ResumeOnlyDuringAGame) {
    tapAt(9, 10, 10);
    quitAt(20);
    EXPECT_EQ(showMenu(0), 3);
    EXPECT_EQ(script::now(), 20u);
    EXPECT_TRUE(pixelIs(9, 10, colourOf(kNewGameBackground)));  // no resume button drawn

    script::resetInput();
    tapAt(8 + kResumeWidth - 1, 9 + kResumeHeight - 1, 30);
    EXPECT_EQ(showMenu(1), 2);
    EXPECT_TRUE(pixelIs(9, 10, colourOf(kButResume)));

    tapAt(8 + kResumeWidth, 10, 40);  // just right of the button
    quitAt(50);
    EXPECT_EQ(showMenu(1), 3);
}

TEST_F(MenuTest, ScreensReturnToTheMenuWhichRedrawsItself) {
    recordScreens();
    tapAt(20, 70, 10);    // options
    tapAt(100, 290, 20);  // OK
    tapAt(20, 100, 30);   // help
    tapAt(100, 300, 40);  // back
    tapAt(20, 130, 50);   // scores
    tapAt(40, 215, 60);   // OK
    tapAt(20, 160, 70);   // about
    tapAt(10, 300, 80);   // back
    quitAt(90);
    EXPECT_EQ(showMenu(0), 3);
    const std::vector<int> expected = {kNewGameBackground, kOptions, kNewGameBackground, kHelp,
                                       kNewGameBackground, kScores,  kNewGameBackground, kAbout,
                                       kNewGameBackground};
    EXPECT_EQ(screenSequence(), expected);
}

TEST_F(MenuTest, AboutLeadsToSupportWhichGoesBackToTheMenu) {
    recordScreens();
    tapAt(20, 160, 10);   // about
    tapAt(100, 300, 20);  // support
    tapAt(10, 300, 30);   // support's back
    tapAt(20, 40, 40);    // new game
    EXPECT_EQ(showMenu(1), 1);
    const std::vector<int> expected = {kNewGameBackground, kAbout, kSupport, kNewGameBackground};
    EXPECT_EQ(screenSequence(), expected);
}

TEST_F(MenuTest, AQuitInsideAScreenClosesItAndTheMenu) {
    recordScreens();
    tapAt(20, 160, 10);  // about
    quitAt(20);
    tapAt(20, 40, 30);  // new game: too late
    EXPECT_EQ(showMenu(0), 3);
    const std::vector<int> expected = {kNewGameBackground, kAbout};
    EXPECT_EQ(screenSequence(), expected);
    EXPECT_EQ(script::now(), 20u);
}

TEST_F(MenuTest, AboutAndSupportSpots) {
    tapAt(68, 300, 10);   // right edge of back: outside
    tapAt(163, 300, 20);  // right edge of support: outside
    tapAt(80, 288, 30);   // support's top-left corner
    EXPECT_EQ(showAbout(), 2);
    tapAt(100, 300, 10);  // the support spot is not on the support page
    tapAt(4, 312, 20);
    EXPECT_EQ(showSupport(), 1);
    EXPECT_EQ(script::now(), 50u);
    quitAt(10);
    EXPECT_EQ(showSupport(), 3);
}

}  // namespace
}  // namespace menu_test
