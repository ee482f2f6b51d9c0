// The on-screen keyboard and the entry of a new high score's name.
#pragma once

#include <cstdint>

// Places a qualifying score in the table, asks for the name on the on-screen keyboard, saves.
void enterHighScore(std::int32_t score);

// The table place (0 to 4) that `score` would take: in front of the first entry it strictly
// exceeds; -1 when it exceeds none.
int highScorePlace(std::int32_t score);

// Edits the zero-terminated `text` (room for maxLength characters and the terminator) on the
// scores screen with the on-screen keyboard; 1 when finished with OK or Enter, 3 on a quit request.
int runKeyboardEntry(char* text, int maxLength);

// Puts the edit box over the name column of table row `place`.
void setEditBoxPlace(int place);

// Draws the edit box with `text` and its blinking cursor, and shows the screen.
void drawEditBox(const char* text);

// The keyboard's case (0 small, 1 large) and top-left corner, kept for the whole run.
int keyboardCase();
void setKeyboardCase(int c);
void setKeyboardOrigin(int x, int y);
int keyboardOriginX();
int keyboardOriginY();

// For tests: small case, no Shift pending, cursor counter 0, origin (0, 234), as at process start.
void resetKeyboardState();
