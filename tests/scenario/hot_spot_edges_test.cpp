// Every hot spot of the menu, the help page and the about page, and a few keys of the on-screen
// keyboard: a tap on each inside corner acts, a tap one pixel past each edge does not.
#include <string>

#include "menu_fixture.h"
#include "persist/keyboard.h"
#include "persist/name_entry.h"
#include "platform/script/script.h"
#include "ui/screens.h"
#include "ui/text_page.h"

namespace menu_test {
namespace {

namespace script = platform::script;

enum class Screen { Menu, MenuInGame, Help, About };

struct Spot {
    const char* name;
    Screen screen;
    platform::Rect rect;
};

const Spot kSpots[] = {
    {"new game", Screen::Menu, {10, 35, 118, 56}},
    {"quit", Screen::Menu, {10, 183, 59, 204}},
    {"options", Screen::Menu, {10, 64, 103, 85}},
    {"help", Screen::Menu, {10, 95, 68, 116}},
    {"about", Screen::Menu, {10, 153, 85, 175}},
    {"scores", Screen::Menu, {10, 125, 85, 147}},
    {"resume", Screen::MenuInGame, {8, 9, 8 + kResumeWidth, 9 + kResumeHeight}},
    {"previous page", Screen::Help, {4, 285, 63, 320}},
    {"next page", Screen::Help, {180, 284, 239, 319}},
    {"help back", Screen::Help, {91, 286, 150, 321}},
    {"about back", Screen::About, {4, 288, 68, 313}},
    {"support", Screen::About, {80, 288, 163, 314}},
};

class HotSpotTest : public MenuTest {
  protected:
    // What one tap at (x, y) does on `screen`, as a short word; "nothing" when it does nothing.
    std::string tapOn(Screen screen, int x, int y) {
        std::string outcome = run(screen, x, y);
        platform::delay(50);  // what is left over is due now, and forgotten with the quit
        SDL_Event event;
        do {
            script::resetInput();
        } while (platform::pollEvent(&event));
        return outcome;
    }

    std::string run(Screen screen, int x, int y) {
        screens_.clear();
        recordScreens();
        const std::uint32_t start = script::now();
        tapAt(x, y, 10);
        quitAt(20);  // closes a screen the tap opened, and the menu
        switch (screen) {
            case Screen::Menu:
            case Screen::MenuInGame: {
                const int result = showMenu(screen == Screen::MenuInGame ? 1 : 0);
                const std::vector<int> seen = screenSequence();
                const int opened = seen.size() > 1 ? seen[1] : -1;
                return "menu " + std::to_string(result) + " opened " + std::to_string(opened) + " at " +
                       std::to_string(script::now() - start < 20 ? 10 : 20);
            }
            case Screen::Help: {
                helpPage.currentPage = 1;
                const int result = showHelp();
                return "help " + std::to_string(result) + " page " + std::to_string(helpPage.currentPage);
            }
            case Screen::About:
                return "about " + std::to_string(showAbout());
        }
        return "";
    }
};

TEST_F(HotSpotTest, InsideCornersActOnePixelPastEveryEdgeDoesNothing) {
    setStory(std::string(40, '\n') + "x");  // three pages: paging from the middle one shows
    for (const Spot& spot : kSpots) {
        const platform::Rect& r = spot.rect;
        const std::string nothing = tapOn(spot.screen, 239, 250);
        const std::string acts = tapOn(spot.screen, r.left, r.top);
        EXPECT_NE(acts, nothing) << spot.name;
        EXPECT_EQ(tapOn(spot.screen, r.right - 1, r.bottom - 1), acts) << spot.name;
        const int outside[][2] = {
            {r.left - 1, r.top}, {r.left, r.top - 1}, {r.right, r.bottom - 1}, {r.right - 1, r.bottom}};
        for (const auto& p : outside) {
            EXPECT_EQ(tapOn(spot.screen, p[0], p[1]), nothing) << spot.name << " at " << p[0] << ", " << p[1];
        }
    }
}

TEST_F(HotSpotTest, KeysTakeOnlyPointsStrictlyInside) {
    setKeyboardCase(0);
    const struct {
        platform::Rect rect;
        int code;
    } keys[] = {{{17, 0, 35, 18}, '1'},    {{221, 0, 240, 18}, kKeyBackspace}, {{0, 17, 24, 35}, '\\'},
                {{148, 34, 166, 51}, 'k'}, {{205, 51, 240, 68}, kKeyEnter},    {{0, 51, 36, 68}, kKeyShift},
                {{35, 68, 205, 86}, ' '}};
    for (const auto& key : keys) {
        const platform::Rect& r = key.rect;
        EXPECT_EQ(findKey(r.left + 1, r.top + 1, nullptr), key.code) << r.left << ", " << r.top;
        EXPECT_EQ(findKey(r.right - 1, r.bottom - 1, nullptr), key.code) << r.left << ", " << r.top;
        const int outside[][2] = {
            {r.left, r.top + 1}, {r.left + 1, r.top}, {r.right, r.bottom - 1}, {r.right - 1, r.bottom}};
        for (const auto& p : outside) {
            EXPECT_NE(findKey(p[0], p[1], nullptr), key.code) << p[0] << ", " << p[1];
        }
    }
}

}  // namespace
}  // namespace menu_test
