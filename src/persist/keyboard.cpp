// The on-screen keyboard: case state, hit test, pressed-key feedback and key effects.
#include "persist/keyboard.h"

#include <cstring>

#include "persist/name_entry.h"
#include "resources/images.h"
#include "shell/shell.h"

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
        } else if (event.type == SDL_MOUSEBUTTONUP || event.type == SDL_QUIT) {
            // A quit lets go of the key without typing it; the entry then sees the quit again.
            showKeyFrom(normal, keyRect);
            return event.type == SDL_MOUSEBUTTONUP && shownPressed;
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
