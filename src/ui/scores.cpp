// The high-score table, drawn under the on-screen keyboard's picture, and its reset question.
#include <cstdio>
#include <cstring>

#include "persist/name_entry.h"
#include "persist/settings.h"
#include "replay/score_recordings.h"
#include "resources/images.h"
#include "shell/shell.h"
#include "ui/focus.h"
#include "ui/font.h"
#include "ui/screen_loop.h"
#include "ui/screens.h"

namespace {

constexpr int kFirstRowY = 86, kRowStep = 22;
constexpr int kPlaceX = 25, kNameX = 50, kScoreX = 150;
constexpr platform::Rect kOkSpot = {36, 209, 81, 229};
constexpr platform::Rect kResetSpot = {123, 209, 200, 229};

void drawRow(int k) {
    const int y = kFirstRowY + kRowStep * k;
    // A name read from the file may lack its terminator; never read past its field.
    char name[kNameFieldSize + 1] = {};
    std::memcpy(name, settings.highScoreNames[k], kNameFieldSize);
    drawText(name, kNameX, y, kFont);
    char number[16];
    if (settings.highScores[k] != 0) {
        std::snprintf(number, sizeof number, "%d", static_cast<int>(settings.highScores[k]));
        drawText(number, kScoreX, y, kFont);
    }
    std::snprintf(number, sizeof number, "%d", k + 1);
    drawText(number, kPlaceX, y, kFont);
}

void askToReset() {
    const platform::MessageAnswer answer =
        platform::messageBox(mainWindow, "Do you really want to reset your high scores?",
                             "Reset High Scores?", platform::MessageStyle::YesNo);
    if (answer == platform::MessageAnswer::Yes) {
        for (int k = 0; k < kHighScoreCount; ++k) {
            settings.highScores[k] = 0;
            settings.highScoreNames[k][0] = '\0';
        }
        replay::dropScoreReplays();
    }
    drawScores();
    saveSettings(settings);
}

}  // namespace

void drawScores() {
    blitImage(images[kScores], 0, 0);
    blitImage(images[keyboardCase() == 0 ? kKeyboardSmall : kKeyboardLarge], keyboardOriginX(),
              keyboardOriginY());
    for (int k = 0; k < kHighScoreCount; ++k) drawRow(k);
    updateScreen();
}

int showScores() {
    const platform::Rect focusSpots[] = {kOkSpot, kResetSpot};
    ui::Focus focus;
    drawScores();
    focus.draw(focusSpots);
    for (;;) {
        ui::Input input = ui::waitInput();
        if (input.kind == ui::InputKind::Quit) return ui::kScreenQuit;
        if (input.kind == ui::InputKind::Action) {
            if (input.action == platform::Action::Back) return ui::kScreenClosed;
            const int pressed = focus.handle(input.action, focusSpots, 2);
            if (pressed >= 0) input = ui::tapInside(focusSpots[pressed]);
            drawScores();
            focus.draw(focusSpots);
        }
        if (input.kind != ui::InputKind::Tap) continue;
        const bool closed = platform::ptInRect(kOkSpot, input.x, input.y);
        if (platform::ptInRect(kResetSpot, input.x, input.y)) {
            askToReset();
            focus.draw(focusSpots);
        }
        if (closed) return ui::kScreenClosed;
    }
}
