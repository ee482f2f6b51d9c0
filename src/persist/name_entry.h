// The on-screen keyboard and the entry of a new high score's name.
#pragma once

#include <cstdint>

// Places a qualifying score in the table, asks for the name on the on-screen keyboard, saves.
void enterHighScore(std::int32_t score);

// The keyboard's case (0 small, 1 large) and top-left corner, kept for the whole run.
int keyboardCase();
void setKeyboardCase(int c);
void setKeyboardOrigin(int x, int y);
int keyboardOriginX();
int keyboardOriginY();
