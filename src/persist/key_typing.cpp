// Name entry from the physical keyboard and the gamepad.
#include "persist/key_typing.h"

#include "persist/keyboard.h"
#include "persist/name_entry.h"
#include "resources/images.h"
#include "shell/shell.h"
#include "ui/focus.h"

namespace {

constexpr int kFirstFocusedKey = 28;  // the a key: the middle of the letters
constexpr int kNoKey = -1;

int shownPressed = kNoKey;  // the on-screen key a held physical key shows pressed
ui::Focus focus;
platform::Rect keyRects[kKeyCount];  // the keys' rectangles on the screen

const platform::Rect& keyOnScreen(int k) {
    const platform::Rect& r = kKeys[k].rect;
    keyRects[k] = {r.left + keyboardOriginX(), r.top + keyboardOriginY(), r.right + keyboardOriginX(),
                   r.bottom + keyboardOriginY()};
    return keyRects[k];
}

// The keyboard of the current case, with the focus frame when it is shown.
void redrawKeyboard() {
    drawKeyboard();
    if (ui::focusShown()) ui::drawFocusFrame(keyOnScreen(focus.index()), -1);
    updateScreen();
}

void showPressed(int k) {
    const platform::Rect& r = kKeys[k].rect;
    SDL_Surface* pressed = images[keyboardCase() == 0 ? kKeyboardSmallPushed : kKeyboardLargePushed];
    blitImagePart(pressed, keyboardOriginX() + r.left, keyboardOriginY() + r.top, r.right - r.left,
                  r.bottom - r.top, r.left, r.top);
    updateScreen();
    shownPressed = k;
}

// The on-screen key that yields `code` in either case.
int keyFor(int code) {
    for (int k = 0; k < kKeyCount; ++k) {
        if (kKeys[k].smallCase == code || kKeys[k].largeCase == code) return k;
    }
    return kNoKey;
}

// Key k applied as a tap on it would apply it, then shown pressed in the case that follows.
int press(int k, int code, char* text, int maxLength) {
    const int result = applyKey(code, text, maxLength);
    redrawKeyboard();
    showPressed(k);
    return result;
}

int walkFocus(platform::Action action, char* text, int maxLength) {
    for (int k = 0; k < kKeyCount; ++k) keyOnScreen(k);
    const int k = focus.handle(action, keyRects, kKeyCount);
    if (k < 0) {
        redrawKeyboard();
        return 0;
    }
    const int code = keyboardCase() == 0 ? kKeys[k].smallCase : kKeys[k].largeCase;
    if (code == kKeyEnter) return 1;
    return press(k, code, text, maxLength);
}

}  // namespace

void startKeyTyping() {
    shownPressed = kNoKey;
    focus = ui::Focus{kFirstFocusedKey};
    ui::setFocusShown(false);
}

char typedCharacter(const SDL_keysym& key) {
    // A key's text is typed when it is printable ASCII; other text (a letter of another alphabet,
    // Ctrl+H) types nothing, rather than the name of the key it came from.
    if (key.unicode != 0)
        return key.unicode >= ' ' && key.unicode <= '~' ? static_cast<char>(key.unicode) : 0;
    if (key.sym < ' ' || key.sym > '~') return 0;
    // Without the text of the key, its name: letters take Shift and Caps Lock into account.
    const bool capital = ((key.mod & KMOD_SHIFT) != 0) != ((key.mod & KMOD_CAPS) != 0);
    if (key.sym >= 'a' && key.sym <= 'z' && capital) return static_cast<char>(key.sym - 'a' + 'A');
    return static_cast<char>(key.sym);
}

int typeKey(const SDL_Event& event, char* text, int maxLength) {
    const char c = typedCharacter(event.key.keysym);
    const platform::Action action = platform::actionOf(event);
    int code = c;
    if (event.key.keysym.sym == SDLK_BACKSPACE || action == platform::Action::Back) code = kKeyBackspace;
    if (code == 0) {
        // Enter ends the entry; the gamepad's first button first shows the frame on the keys.
        if (action == platform::Action::Press && !ui::focusShown() && !platform::fromGamepad(event)) return 1;
        return action == platform::Action::None ? 0 : walkFocus(action, text, maxLength);
    }
    if (code == c) ui::setFocusShown(false);  // typing leaves the on-screen keys to the stylus
    const int k = keyFor(code);
    return k == kNoKey ? 0 : press(k, code, text, maxLength);
}

void releaseTypedKey() {
    if (shownPressed == kNoKey) return;
    shownPressed = kNoKey;
    redrawKeyboard();
}
