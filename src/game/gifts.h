// The gift carrier that crosses the top, the gift it drops, and the timed effect of a caught gift.
#pragma once

// Back to the start values at a level start; a running effect ends without its end action.
void resetGiftLauncher();

// Moves the crossing carrier or the falling gift, catches the gift, counts the running effect.
void updateGift();

// May start a crossing: a random draw every frame nothing crosses or falls, no start while an effect runs.
void tryStartLauncher();

// Draws the crossing carrier or the falling gift.
void drawGiftLauncher();

// An active shot hitting the crossing carrier turns it into a falling gift of a random kind.
void checkLauncherHit();
