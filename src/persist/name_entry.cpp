// Entry of a new high score: the place in the table, the name typed on the on-screen keyboard of the
// scores screen, and the save.
#include "persist/name_entry.h"

#include <cstdio>

#include "persist/key_typing.h"
#include "persist/keyboard.h"
#include "persist/settings.h"
#include "replay/score_recordings.h"
#include "resources/images.h"
#include "shell/shell.h"
#include "ui/focus.h"
#include "ui/font.h"
#include "ui/screens.h"

namespace {

constexpr int kMaxNameLength = 10;
constexpr int kNameBufferSize = 20;
constexpr std::uint32_t kPassDelayMs = 10;
constexpr int kFirstRowTop = 86;  // the scores screen's table rows
constexpr int kRowPitch = 22;
constexpr int kNameColumn = 50;
constexpr int kCursorPeriod = 4;  // edit-box draws per cursor phase
constexpr platform::Rect kOkButton = {36, 209, 81, 229};

// The box over the name column of the row being filled; editbox.bmp lends it its size only.
struct EditBox {
    platform::Rect area;
    int textX, textY;
};

EditBox editBox = {};
// Counts edit-box draws for the cursor blink; never reset, so it runs on from entry to entry.
std::int32_t cursorTicks = 0;

// Copies a name up to and including its terminator, never past the 30 bytes of a name field
// (a name read from a file may have no terminator).
void copyName(char* to, const char* from) {
    for (int i = 0; i < kNameFieldSize; ++i) {
        to[i] = from[i];
        if (from[i] == '\0') break;
    }
}

// Moves entries place..3 down one row; the former entry 4 is dropped.
void makeRoomAt(int place) {
    for (int k = kHighScoreCount - 1; k > place; --k) {
        copyName(settings.highScoreNames[k], settings.highScoreNames[k - 1]);
        settings.highScores[k] = settings.highScores[k - 1];
    }
}

// A stylus (mouse button) going down at (x, y); the entry's result, or 0 to go on.
int handleTap(int x, int y, Uint8 button, char* text, int maxLength) {
    if (platform::ptInRect(kOkButton, x, y)) return 1;
    if (button != SDL_BUTTON_LEFT) return 0;
    if (platform::ptInRect(editBox.area, x, y)) drawEditBox(text);
    platform::Rect keyRect;
    const int code = findKey(x - keyboardOriginX(), y - keyboardOriginY(), &keyRect);
    if (code == kKeyEnter) return 1;
    // A miss types nothing and leaves a pending Shift pending, so the picture still shows the case.
    if (code == kKeyNone) return 0;
    if (!trackKeyPress(keyRect)) return 0;
    const int result = applyKey(code, text, maxLength);
    drawKeyboard();
    updateScreen();
    return result;
}

int handleEvent(const SDL_Event& event, char* text, int maxLength) {
    switch (event.type) {
        case SDL_KEYDOWN:
            return typeKey(event, text, maxLength);
        case SDL_KEYUP:
            releaseTypedKey();
            return 0;
        case SDL_MOUSEBUTTONDOWN:
            ui::setFocusShown(false);
            return handleTap(event.button.x, event.button.y, event.button.button, text, maxLength);
        case SDL_QUIT:
            return 3;
        default:
            return 0;
    }
}

}  // namespace

int highScorePlace(std::int32_t score) {
    for (int p = 0; p < kHighScoreCount; ++p) {
        if (score > settings.highScores[p]) return p;
    }
    return -1;
}

void enterHighScore(std::int32_t score) {
    const int place = highScorePlace(score);
    if (place < 0) return;
    makeRoomAt(place);
    replay::keepReplayAsScore(place);  // the game's recording moves with its entry
    setEditBoxPlace(place);
    char name[kNameBufferSize] = {};
    // OK, Enter and a quit request all end the entry the same way; a quit then ends the game too.
    runKeyboardEntry(name, kMaxNameLength);
    copyName(settings.highScoreNames[place], name);
    settings.highScores[place] = score;
    saveSettings(settings);
}

int runKeyboardEntry(char* text, int maxLength) {
    setKeyboardOrigin(kKeyboardLeft, kKeyboardTop);
    drawScores();
    startKeyTyping();
    const int unicodeBefore = SDL_EnableUNICODE(1);  // the physical keys' text, in any layout
    int result = 0;
    while (result == 0) {
        drawEditBox(text);
        SDL_Event event;
        if (platform::pollEvent(&event)) result = handleEvent(event, text, maxLength);
        platform::delay(kPassDelayMs);
    }
    SDL_EnableUNICODE(unicodeBefore);
    return result;
}

void setEditBoxPlace(int place) {
    const SDL_Surface* size = images[kEditbox];
    const int top = kFirstRowTop + kRowPitch * place;
    const int w = size ? size->w : 0;
    const int h = size ? size->h : 0;
    editBox = {{kNameColumn, top, kNameColumn + w, top + h}, kNameColumn, top};
}

void drawEditBox(const char* text) {
    // Wraps instead of overflowing after 2^31 draws.
    cursorTicks = static_cast<std::int32_t>(static_cast<std::uint32_t>(cursorTicks) + 1u);
    char shown[kNameBufferSize + 2];
    const bool cursorShown = (cursorTicks / kCursorPeriod) % 2 == 0;
    std::snprintf(shown, sizeof shown, cursorShown ? "%sl" : "%s", text);
    selectFont(kFont);
    const platform::Rect& a = editBox.area;
    blitImagePart(images[kScores], a.left, a.top, a.right - a.left, a.bottom - a.top, a.left, a.top);
    drawText(shown, editBox.textX, editBox.textY, kFont);
    updateScreen();
}

void resetKeyboardState() {
    setKeyboardCase(0);
    setKeyboardShiftPending(false);
    setKeyboardOrigin(kKeyboardLeft, kKeyboardTop);
    cursorTicks = 0;
    editBox = {};
}
