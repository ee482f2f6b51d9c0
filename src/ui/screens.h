// The main menu and the screens it opens.
#pragma once

// Shows the main menu; returns 1 (new game), 2 (resume, only when inGame is 1) or 3 (quit).
int showMenu(int inGame);

int showOptions();
int showScores();
int showHelp();
int showAbout();
int showSupport();

void drawMenu(int inGame);
void drawOptions();
void drawScores();  // also drawn under the on-screen keyboard by the name entry
void drawAbout();
void drawSupport();
