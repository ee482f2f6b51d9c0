// The game in a window at scale 3 and in full screen on a 1000 x 1000 desktop (scale 3 there too, the
// picture at (140, 20)): taps reach the hot spots at every scaled pixel, the border takes none, F11
// and Alt+Enter switch at any time and the picture follows at once.
#include "menu_fixture.h"
#include "platform/script/script.h"
#include "shell/shell.h"
#include "ui/screen_loop.h"
#include "ui/screens.h"

namespace menu_test {
namespace {

namespace script = platform::script;

constexpr int kScale = 3;
constexpr int kDesktop = 1000, kLeft = 140, kTop = 20;  // full screen: (1000 - 720) / 2, (1000 - 960) / 2

class WindowTest : public MenuTest {
  protected:
    void SetUp() override {
        MenuTest::SetUp();
        script::setDesktopSize(kDesktop, kDesktop);
        platform::followScreen(&screen);
        ASSERT_TRUE(platform::chooseWindow(kScale, false));
    }
    static SDL_Surface* window() { return SDL_GetVideoSurface(); }
    static Rgb windowPixel(int x, int y) { return testing_support::pixelOf(window(), x, y); }
};

TEST_F(WindowTest, EveryCornerPixelOfAScaledSpotReachesItAndItsNeighboursDoNot) {
    ASSERT_EQ(window()->w, 240 * kScale);
    // The new-game spot is (10, 35) to (118, 56), right and bottom outside.
    const struct {
        int x, y;
        bool inside;
    } taps[] = {
        {30, 105, true},  {353, 105, true},  {30, 167, true},  {353, 167, true},
        {29, 105, false}, {354, 105, false}, {30, 104, false}, {30, 168, false},
    };
    for (const auto& t : taps) {
        tapAt(t.x, t.y, 10);
        if (!t.inside) quitAt(20);
        EXPECT_EQ(showMenu(0), t.inside ? 1 : 3) << t.x << ", " << t.y;
    }
}

TEST_F(WindowTest, FullScreenCentresThePictureOnBlackAndIgnoresTapsOnTheBorder) {
    ASSERT_TRUE(platform::chooseWindow(kScale, true));
    drawAbout();
    ASSERT_EQ(window()->w, kDesktop);
    EXPECT_EQ(windowPixel(kLeft - 1, 500), (Rgb{0, 0, 0}));
    EXPECT_EQ(windowPixel(500, kTop + 960), (Rgb{0, 0, 0}));
    EXPECT_EQ(windowPixel(kLeft, kTop), colourOf(kAbout));
    EXPECT_EQ(windowPixel(kLeft + 719, kTop + 959), colourOf(kAbout));

    // Below help's back spot (it reaches y = 320) and left of about's back spot: nothing; then inside.
    const struct {
        int (*screen)();
        int x, y, result;
    } taps[] = {
        {showHelp, kLeft + 3 * 120, kTop + 960, ui::kScreenQuit},
        {showAbout, kLeft - 1, kTop + 3 * 300, ui::kScreenQuit},
        {showHelp, kLeft + 3 * 120, kTop + 959, ui::kScreenClosed},
        {showAbout, kLeft + 3 * 4, kTop + 3 * 300, ui::kScreenClosed},
    };
    for (const auto& t : taps) {
        tapAt(t.x, t.y, 10);
        if (t.result == ui::kScreenQuit) quitAt(20);
        EXPECT_EQ(t.screen(), t.result) << t.x << ", " << t.y;
        script::resetInput();
    }
}

TEST_F(WindowTest, F11AndAltEnterSwitchAtOnceAndGoNoFurther) {
    drawMenu(0);
    script::keyDown(SDLK_F11);
    script::keyUp(SDLK_F11);
    script::keyDown(SDLK_a);
    SDL_Event event;
    ASSERT_EQ(platform::pollEvent(&event), 1);
    EXPECT_EQ(event.key.keysym.sym, SDLK_a);
    ASSERT_EQ(window()->w, kDesktop);
    EXPECT_EQ(windowPixel(kLeft + 5, kTop + 5), colourOf(kNewGameBackground));  // shown again at once

    script::keyDown(SDLK_RETURN, 0, KMOD_LALT);
    script::keyUp(SDLK_RETURN);
    script::keyDown(SDLK_RETURN);
    ASSERT_EQ(platform::pollEvent(&event), 1);
    EXPECT_EQ(event.key.keysym.sym, SDLK_RETURN);
    EXPECT_EQ(platform::pollEvent(&event), 0);
    EXPECT_EQ(window()->w, 240 * kScale);
    EXPECT_EQ(windowPixel(5, 5), colourOf(kNewGameBackground));
}

TEST_F(WindowTest, AMessageBoxIsShownAgainAtOnceAfterASwitch) {
    drawMenu(0);
    const Rgb boxFill{236, 232, 220};
    const int x = kLeft + kScale * 17, y = kTop + kScale * 150;  // inside the box, left of its text
    bool shownInFullScreen = false;
    onIdle([&] {
        if (!script::messageWaiting()) return;
        if (window()->w != kDesktop) {
            script::keyDown(SDLK_F11, script::now());
            return;
        }
        shownInFullScreen = windowPixel(x, y) == boxFill;
        script::keyDown(SDLK_RETURN, script::now());
    });
    EXPECT_EQ(platform::messageBox(0, "Hello", "KORVEX", platform::MessageStyle::Ok),
              platform::MessageAnswer::Ok);
    EXPECT_TRUE(shownInFullScreen);
    EXPECT_EQ(windowPixel(x, y), colourOf(kNewGameBackground));
}

// At scale 1 in a window the window is the game's surface: a switch moves the picture and `screen`.
TEST_F(MenuTest, FromScaleOneTheGameSurfaceMovesWithTheSwitchAndKeepsItsPicture) {
    script::setDesktopSize(kDesktop, kDesktop);
    platform::followScreen(&screen);
    platform::chooseWindow(1, false);
    drawAbout();
    ASSERT_EQ(screen, SDL_GetVideoSurface());
    for (bool fullscreen : {true, false, true}) {
        script::keyDown(SDLK_F11);
        SDL_Event event;
        EXPECT_EQ(platform::pollEvent(&event), 0);
        EXPECT_EQ(screen == SDL_GetVideoSurface(), !fullscreen);
        EXPECT_EQ(SDL_GetVideoSurface()->w, fullscreen ? kDesktop : 240);
        EXPECT_EQ(screenShown(), kAbout);
        EXPECT_EQ(
            testing_support::pixelOf(SDL_GetVideoSurface(), fullscreen ? kLeft : 0, fullscreen ? kTop : 0),
            colourOf(kAbout));
    }
    // The message box draws where the game does.
    script::answerMessageBoxes(platform::MessageAnswer::Ok);
    platform::messageBox(0, "Hello", "KORVEX", platform::MessageStyle::Ok);
    EXPECT_EQ(screenShown(), kAbout);
}

}  // namespace
}  // namespace menu_test
