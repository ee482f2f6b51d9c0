// What a level, the main menu and the menu's screens end with, in one set: the game flow's state table
// (shell/game_flow.cpp) is written in these numbers, and a quit is the same 3 wherever it comes from.
#pragma once

// runLevel.
enum LevelResult { kLevelMenu = 2, kLevelQuit = 3, kLevelCleared = 4, kLevelLost = 5 };

// showMenu: a new game, the game in play goes on (only when one is), or the program ends.
enum MenuResult { kMenuNewGame = 1, kMenuResume = 2, kMenuQuit = kLevelQuit };

namespace ui {
// The menu's screens: closed by their own button, the about screen's way to support, quit.
constexpr int kScreenClosed = 1;
constexpr int kScreenSupport = 2;
constexpr int kScreenQuit = kLevelQuit;
}  // namespace ui
