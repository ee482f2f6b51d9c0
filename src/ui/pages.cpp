// The help screen (the story, paged) and the about and support pages.
#include "resources/images.h"
#include "shell/shell.h"
#include "ui/menu.h"
#include "ui/screen_loop.h"
#include "ui/text_page.h"

namespace {

constexpr platform::Rect kPreviousSpot = {4, 285, 63, 320};
constexpr platform::Rect kNextSpot = {180, 284, 239, 319};
constexpr platform::Rect kHelpBackSpot = {91, 286, 150, 321};
constexpr platform::Rect kBackSpot = {4, 288, 68, 313};
constexpr platform::Rect kSupportSpot = {80, 288, 163, 314};

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
    for (;;) {
        const ui::Input input = ui::waitInput();
        if (input.kind == ui::InputKind::Quit) return ui::kScreenQuit;
        if (input.kind != ui::InputKind::Tap) continue;
        if (platform::ptInRect(kBackSpot, input.x, input.y)) return ui::kScreenClosed;
        if (withSupport && platform::ptInRect(kSupportSpot, input.x, input.y)) return ui::kScreenSupport;
    }
}

}  // namespace

int showHelp() {
    blitImage(images[kHelp], 0, 0);
    showHelpPage();
    for (;;) {
        const ui::Input input = ui::waitInput();
        if (input.kind == ui::InputKind::Quit) return ui::kScreenQuit;
        if (input.kind == ui::InputKind::Tap && helpTap(input.x, input.y)) return ui::kScreenClosed;
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
