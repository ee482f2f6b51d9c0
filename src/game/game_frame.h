// The steps of one game frame and the sizes they share; runLevel (world.h) drives them.
#pragma once

#include <cstdint>

#include "game/results.h"
#include "game/world.h"

constexpr int kPlayerWidth = 20;  // one frame of the Player1.bmp strip, and the hit rectangle
constexpr int kPlayerHeight = 24;
constexpr int kPlayerTop = 234;
constexpr int kPlayerMaxX = 220;
constexpr int kEnemyWidth = 23;  // one formation cell, one frame of the enemy strips
constexpr int kEnemyHeight = 18;
constexpr int kFormationTop = 40;
constexpr int kFrameDelayMs = 50;

// The four sounds, by what they announce.
enum SoundId { kSoundShot = 0, kSoundEnemyHit = 1, kSoundCarrierHit = 2, kSoundGiftCaught = 3 };

// One game step: the player, the shot, the gift carrier and the formation move, then drawFrame.
void advanceFrame();

// Draws the whole field, running every cell's fire, bomb and hit step on the way, then the status
// line and a pending level banner, and presents the screen.
void drawFrame();

// The formation's sideways step; turns and drops 2 pixels at an edge; the game is lost when it
// turns at the left edge with a living enemy below the player's top.
void moveFormation();

// Moves a shot or bomb by its speed; it ends above the top of the screen or below y 258.
void moveProjectile(Projectile& p);

// Launches the player's shot unless one is in flight.
void fireShot();

// The player's explosion over five 50 ms steps on the player's rectangle only; every bomb ends.
void showPlayerHit();

// The keys and the stylus handled in one frame.
void handleEvent(const SDL_Event& event, int* result);
