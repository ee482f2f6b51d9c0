// The help screen (the story, paged) and the about and support pages.
#include "resources/images.h"
#include "shell/shell.h"
#include "ui/focus.h"
#include "ui/screen_loop.h"
#include "ui/screens.h"
#include "ui/text_page.h"

namespace {

constexpr platform::Rect kPreviousSpot = {4, 285, 63, 320};
constexpr platform::Rect kNextSpot = {180, 284, 239, 319};
constexpr platform::Rect kHelpBackSpot = {91, 286, 150, 321};
constexpr platform::Rect kBackSpot = {4, 288, 68, 313};
constexpr platform::Rect kSupportSpot = {80, 288, 163, 314};

// The spots the arrows walk, the first focused first.
constexpr platform::Rect kHelpFocus[] = {kNextSpot, kPreviousSpot, kHelpBackSpot};
constexpr platform::Rect kAboutFocus[] = {kBackSpot, kSupportSpot};

// Forward paging ends here: the page after the second one closes the screen.
constexpr int kClosingPage = 2;

void showHelpPage() {
    helpPage.drawPage();
    updateScreen();
}

// True when the tap closes the help screen.
bool helpTap(int x, int y) {
    bool closed = false;
    if (platform::ptInRect(kPreviousSpot, x, y)) {
        helpPage.previousPage();
        showHelpPage();
    }
    if (platform::ptInRect(kNextSpot, x, y)) {
        helpPage.nextPage();
        if (helpPage.currentPage == kClosingPage) {
            helpPage.currentPage = 0;
            closed = true;
        }
        showHelpPage();
    }
    if (platform::ptInRect(kHelpBackSpot, x, y)) {
        helpPage.currentPage = 0;
        closed = true;
    }
    return closed;
}

// Waits on a page whose only spots are back (result 1) and, when given, support (result 2).
int waitOnPage(bool withSupport) {
    const int spots = withSupport ? 2 : 1;
    ui::Focus focus;
    focus.draw(kAboutFocus);
    for (;;) {
        ui::Input input = ui::waitInput();
        if (input.kind == ui::InputKind::Quit) return ui::kScreenQuit;
        if (input.kind == ui::InputKind::Action) {
            if (input.action == platform::Action::Back) return ui::kScreenClosed;
            const int pressed = focus.handle(input.action, kAboutFocus, spots);
            if (pressed < 0) {
                withSupport ? drawAbout() : drawSupport();
                focus.draw(kAboutFocus);
                continue;
            }
            input = ui::tapInside(kAboutFocus[pressed]);
        }
        if (input.kind != ui::InputKind::Tap) continue;
        if (platform::ptInRect(kBackSpot, input.x, input.y)) return ui::kScreenClosed;
        if (withSupport && platform::ptInRect(kSupportSpot, input.x, input.y)) return ui::kScreenSupport;
    }
}

}  // namespace

int showHelp() {
    blitImage(images[kHelp], 0, 0);
    showHelpPage();
    ui::Focus focus;
    focus.draw(kHelpFocus);
    for (;;) {
        ui::Input input = ui::waitInput();
        if (input.kind == ui::InputKind::Quit) return ui::kScreenQuit;
        if (input.kind == ui::InputKind::Action) {
            const int pressed = focus.handle(input.action, kHelpFocus, 3);
            if (input.action == platform::Action::Back) {
                input = ui::tapInside(kHelpBackSpot);  // Escape leaves as the back spot does
            } else if (pressed >= 0) {
                input = ui::tapInside(kHelpFocus[pressed]);
            } else {
                blitImage(images[kHelp], 0, 0);
                showHelpPage();
                focus.draw(kHelpFocus);
                continue;
            }
        }
        if (input.kind == ui::InputKind::Tap && helpTap(input.x, input.y)) return ui::kScreenClosed;
        focus.draw(kHelpFocus);
    }
}

void drawAbout() {
    blitImage(images[kAbout], 0, 0);
    updateScreen();
}

void drawSupport() {
    blitImage(images[kSupport], 0, 0);
    updateScreen();
}

int showAbout() {
    drawAbout();
    return waitOnPage(true);
}

int showSupport() {
    drawSupport();
    return waitOnPage(false);
}
