// The on-screen keyboard: key table, case state, hit test, pressed-key feedback and key effects.
#include "persist/keyboard.h"

#include <cstring>

#include "persist/name_entry.h"
#include "resources/images.h"
#include "shell/shell.h"

// Keys 18 pixels wide on a pitch of 17 share one pixel line with their neighbours; the strict hit
// test gives that line to the key on its left (or above). Key 39 (Enter) reaches one pixel lower
// than its row.
const Key kKeys[kKeyCount] = {
    {{0, 0, 18, 18}, '`', '~'},
    {{17, 0, 35, 18}, '1', '!'},
    {{34, 0, 52, 18}, '2', '@'},
    {{51, 0, 69, 18}, '3', '#'},
    {{68, 0, 86, 18}, '4', '$'},
    {{85, 0, 103, 18}, '5', '%'},
    {{102, 0, 120, 18}, '6', '^'},
    {{119, 0, 137, 18}, '7', '&'},
    {{136, 0, 154, 18}, '8', '*'},
    {{153, 0, 171, 18}, '9', '('},
    {{170, 0, 188, 18}, '0', ')'},
    {{187, 0, 205, 18}, '-', '_'},
    {{204, 0, 222, 18}, '=', '+'},
    {{221, 0, 240, 18}, kKeyBackspace, kKeyBackspace},
    {{0, 17, 24, 35}, '\\', '|'},
    {{23, 17, 41, 35}, 'q', 'Q'},
    {{40, 17, 58, 35}, 'w', 'W'},
    {{57, 17, 75, 35}, 'e', 'E'},
    {{74, 17, 92, 35}, 'r', 'R'},
    {{91, 17, 109, 35}, 't', 'T'},
    {{108, 17, 126, 35}, 'y', 'Y'},
    {{125, 17, 143, 35}, 'u', 'U'},
    {{142, 17, 160, 35}, 'i', 'I'},
    {{159, 17, 177, 35}, 'o', 'O'},
    {{176, 17, 194, 35}, 'p', 'P'},
    {{193, 17, 217, 35}, '[', '{'},
    {{216, 17, 240, 35}, ']', '}'},
    {{0, 34, 30, 51}, kKeyCaps, kKeyCaps},
    {{29, 34, 47, 51}, 'a', 'A'},
    {{46, 34, 64, 51}, 's', 'S'},
    {{63, 34, 81, 51}, 'd', 'D'},
    {{80, 34, 98, 51}, 'f', 'F'},
    {{97, 34, 115, 51}, 'g', 'G'},
    {{114, 34, 132, 51}, 'h', 'H'},
    {{131, 34, 149, 51}, 'j', 'J'},
    {{148, 34, 166, 51}, 'k', 'K'},
    {{165, 34, 183, 51}, 'l', 'L'},
    {{182, 34, 200, 51}, ';', ':'},
    {{199, 34, 217, 51}, '\'', '"'},
    {{216, 34, 240, 52}, kKeyEnter, kKeyEnter},
    {{0, 51, 36, 68}, kKeyShift, kKeyShift},
    {{35, 51, 53, 68}, 'z', 'Z'},
    {{52, 51, 70, 68}, 'x', 'X'},
    {{69, 51, 87, 68}, 'c', 'C'},
    {{86, 51, 104, 68}, 'v', 'V'},
    {{103, 51, 121, 68}, 'b', 'B'},
    {{120, 51, 138, 68}, 'n', 'N'},
    {{137, 51, 155, 68}, 'm', 'M'},
    {{154, 51, 172, 68}, ',', '<'},
    {{171, 51, 189, 68}, '.', '>'},
    {{188, 51, 206, 68}, '/', '?'},
    {{205, 51, 240, 68}, kKeyEnter, kKeyEnter},
    {{0, 68, 36, 86}, kKeyBlank, kKeyBlank},
    {{35, 68, 205, 86}, ' ', ' '},
    {{204, 68, 240, 86}, kKeyBlank, kKeyBlank},
};

namespace {

// Kept for the whole run: the next entry starts in the case, and with the Shift, the last one left.
int currentCase = 0;
int originX = kKeyboardLeft;
int originY = kKeyboardTop;
bool shiftPending = false;

SDL_Surface* normalPicture() {
    return images[currentCase == 0 ? kKeyboardSmall : kKeyboardLarge];
}
SDL_Surface* pressedPicture() {
    return images[currentCase == 0 ? kKeyboardSmallPushed : kKeyboardLargePushed];
}

bool strictlyInside(const platform::Rect& r, int x, int y) {
    return r.left < x && x < r.right && r.top < y && y < r.bottom;
}

// Copies the key's rectangle of `picture` to the same place on the screen and shows it.
void showKeyFrom(SDL_Surface* picture, const platform::Rect& r) {
    blitImagePart(picture, originX + r.left, originY + r.top, r.right - r.left, r.bottom - r.top, r.left,
                  r.top);
    updateScreen();
}

void flipCase() {
    currentCase = currentCase == 0 ? 1 : 0;
}

// The next event: polled without pausing; when none is queued, waits for one (see trackKeyPress).
bool nextEvent(SDL_Event* event) {
    return platform::pollEvent(event) || platform::waitEvent(event);
}

}  // namespace

int keyboardCase() {
    return currentCase;
}
void setKeyboardCase(int c) {
    currentCase = c;
}
void setKeyboardOrigin(int x, int y) {
    originX = x;
    originY = y;
}
int keyboardOriginX() {
    return originX;
}
int keyboardOriginY() {
    return originY;
}
bool keyboardShiftPending() {
    return shiftPending;
}
void setKeyboardShiftPending(bool pending) {
    shiftPending = pending;
}

int findKey(int x, int y, platform::Rect* keyRect) {
    for (const Key& key : kKeys) {
        if (!strictlyInside(key.rect, x, y)) continue;
        if (keyRect) *keyRect = key.rect;
        return currentCase == 0 ? key.smallCase : key.largeCase;
    }
    return kKeyNone;
}

bool trackKeyPress(const platform::Rect& keyRect) {
    SDL_Surface* pressed = pressedPicture();
    SDL_Surface* normal = normalPicture();
    showKeyFrom(pressed, keyRect);
    bool shownPressed = true;
    // The key is tracked until the stylus is lifted, with nothing else to do meanwhile. Polling
    // without a pause would spin until the next event; waiting for it when the queue is empty is
    // the same on a real device, and lets the scripted clock move on to the next timed event.
    for (;;) {
        SDL_Event event;
        if (!nextEvent(&event)) continue;
        if (event.type == SDL_MOUSEMOTION) {
            const bool onKey =
                platform::ptInRect(keyRect, event.motion.x - originX, event.motion.y - originY);
            if (onKey != shownPressed) {
                shownPressed = onKey;
                showKeyFrom(onKey ? pressed : normal, keyRect);
            }
        } else if (event.type == SDL_MOUSEBUTTONUP) {
            showKeyFrom(normal, keyRect);
            return shownPressed;
        }
    }
}

int applyKey(int code, char* text, int maxLength) {
    if (code == kKeyEnter) return 1;
    if (code == kKeyCaps) {
        flipCase();
        return 0;
    }
    if (code == kKeyShift) {
        shiftPending = true;
        flipCase();
        return 0;
    }
    const std::size_t length = std::strlen(text);
    if (code == kKeyBackspace) {
        if (length > 0) text[length - 1] = '\0';
    } else if (code >= ' ' && code <= '~') {
        if (length < static_cast<std::size_t>(maxLength)) {
            text[length] = static_cast<char>(code);
            text[length + 1] = '\0';
        }
    }
    if (shiftPending) {
        shiftPending = false;
        flipCase();
    }
    return 0;
}

void drawKeyboard() {
    blitImage(normalPicture(), originX, originY);
}
