// The main menu: a full-screen picture with stylus hot spots that start, resume or leave the game
// and open the other screens.
#include "resources/images.h"
#include "shell/shell.h"
#include "ui/focus.h"
#include "ui/screen_loop.h"
#include "ui/screens.h"

namespace {

constexpr int kResumeX = 8, kResumeY = 9;

enum class MenuAction { NewGame, Leave, Options, Help, About, Scores, Resume };

struct MenuSpot {
    platform::Rect rect;
    MenuAction action;
};

// Taken in this order; the first that holds the tap wins.
void menuSpots(MenuSpot (&spots)[7]) {
    const SDL_Surface* resume = images[kButResume];
    const int resumeW = resume ? resume->w : 0, resumeH = resume ? resume->h : 0;
    const MenuSpot table[7] = {
        {{10, 35, 118, 56}, MenuAction::NewGame},
        {{10, 183, 59, 204}, MenuAction::Leave},
        {{10, 64, 103, 85}, MenuAction::Options},
        {{10, 95, 68, 116}, MenuAction::Help},
        {{10, 153, 85, 175}, MenuAction::About},
        {{10, 125, 85, 147}, MenuAction::Scores},
        {{kResumeX, kResumeY, kResumeX + resumeW, kResumeY + resumeH}, MenuAction::Resume},
    };
    for (int k = 0; k < 7; ++k) spots[k] = table[k];
}

// Taps made before the menu showed are dropped; a quit is not (the wait after this sees it again).
void dropQueuedEvents() {
    SDL_Event event;
    while (platform::pollEvent(&event) && event.type != SDL_QUIT) {
    }
}

// The menu's result for an action, or 0 when the menu stays open (after running a screen).
int runAction(MenuAction action, int inGame) {
    switch (action) {
        case MenuAction::NewGame:
            return kMenuNewGame;
        case MenuAction::Leave:
            return kMenuQuit;
        case MenuAction::Resume:
            return inGame == 1 ? kMenuResume : 0;
        case MenuAction::Options:
            showOptions();
            break;
        case MenuAction::Help:
            showHelp();
            break;
        case MenuAction::Scores:
            showScores();
            break;
        case MenuAction::About:
            if (showAbout() == ui::kScreenSupport) showSupport();
            break;
    }
    drawMenu(inGame);
    return 0;
}

}  // namespace

void drawMenu(int inGame) {
    blitImage(images[kNewGameBackground], 0, 0);
    if (inGame == 1) blitImage(images[kButResume], kResumeX, kResumeY);
    updateScreen();
}

int showMenu(int inGame) {
    drawMenu(inGame);
    dropQueuedEvents();
    MenuSpot spots[7];
    menuSpots(spots);
    platform::Rect rects[7];
    for (int k = 0; k < 7; ++k) rects[k] = spots[k].rect;
    const int focusable = inGame == 1 ? 7 : 6;  // the resume spot, last in the table, only in a game
    ui::Focus focus(inGame == 1 ? 6 : 0);       // during a game the focus starts on RESUME
    focus.draw(rects);
    for (;;) {
        const ui::Input input = ui::waitInput();
        if (input.kind == ui::InputKind::Quit) return kMenuQuit;
        int hit = -1;
        if (input.kind == ui::InputKind::Tap) hit = ui::hitSpot(spots, input.x, input.y);
        if (input.kind == ui::InputKind::Action) {
            if (input.action == platform::Action::Back && inGame == 1) return kMenuResume;
            hit = focus.handle(input.action, rects, focusable);
            if (hit < 0) {
                drawMenu(inGame);
                focus.draw(rects);
            }
        }
        if (hit < 0) continue;
        if (const int result = runAction(spots[hit].action, inGame)) return result;
        focus.draw(rects);
    }
}
