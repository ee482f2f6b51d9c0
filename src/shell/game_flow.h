// The game's top level: start-up loading, then the state machine between menu, levels and game over.
#pragma once

#include <cstdint>

extern char* storyText;  // the story file's bytes and a NUL; never freed

// Loads settings, splash, images, fonts and story, then runs the game until the player quits.
// Returns false when start-up could not complete (the player has been told why).
bool runGame();

// Start-up's text set-up, once the images are loaded: the active font, in-window message boxes, and
// the help page's area, background and fonts (its text comes after).
void setUpText();

// A level cleared: levelCounter moves on to the next one (after the last, the first again) and says which.
std::int16_t nextLevel();

// Three lives, score 0, level 0, and the first level set up.
void startNewGame();

// The game-over picture for 3 s, then the high-score entry.
void showGameOver();

// The screens and steps the state machine moves between; tests replace them with scripted ones.
struct FlowSteps {
    int (*showMenu)(int inGame);
    int (*runLevel)();
    void (*setupLevel)(std::int16_t level);
    void (*startNewGame)();
    void (*showGameOver)();
};

extern const FlowSteps kGameSteps;  // the real screens

// Runs the state machine until a quit result; see the table in game_flow.cpp.
void runGameFlow(const FlowSteps& steps);
