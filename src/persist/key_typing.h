// Name entry from the physical keyboard and the gamepad, beside the on-screen keyboard: typed
// characters, Backspace and Enter, and a focus that the arrows walk over the on-screen keys.
#pragma once

#include <SDL.h>

// At the start of an entry: no key shown pressed, the focus hidden.
void startKeyTyping();

// A key going down during the entry; 1 when it ends the entry, else 0. A typed character or
// Backspace acts as a tap on its on-screen key and shows that key pressed until the key goes up;
// Enter ends the entry, or presses the focused key while the arrows' focus is shown; Escape deletes.
int typeKey(const SDL_Event& event, char* text, int maxLength);

// A key going up: the on-screen key it showed pressed is shown released.
void releaseTypedKey();

// The printable character a key event types (its text, else its key when it has none), or 0.
char typedCharacter(const SDL_keysym& key);
