// Everything on the playing field: fixed global records, re-initialised by setupLevel for each level.
#pragma once

#include <SDL.h>

#include <cstdint>

// A shot or a bomb in flight; the first part of Player and Enemy, so one move and draw serve both.
struct Projectile {
    SDL_Surface* image = nullptr;
    std::int16_t speed = 0;  // subtracted from y every frame
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::int16_t homeY = 234;
    bool active = false;
};

struct Player {
    Projectile shot{nullptr, 9, 0, 0, 234, false};
    SDL_Surface* image = nullptr;
    std::int16_t speed = 4;
    bool movingLeft = false;
    bool movingRight = false;
    std::int16_t x = 120;
    std::int16_t y = 120;
    std::int16_t width = 0;
    std::int16_t height = 0;
    std::int16_t lives = 3;
    std::int32_t score = 0;
    std::int16_t frameCount = 4;
    std::int16_t frame = 0;
};

struct Enemy {
    Projectile bomb{nullptr, -6, 0, 0, 234, false};
    SDL_Surface* kindImages[3] = {nullptr, nullptr, nullptr};
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::int16_t width = 0;
    std::int16_t height = 0;
    std::int16_t code = 0;
    bool alive = false;
    Player* player = nullptr;
    std::int32_t fireCounter = 0;
    std::int32_t firePeriod = 10;
    std::int16_t hitsLeft = 0;
    std::int16_t pointsPerHit = 1;
    std::int16_t frameCount = 1;
    std::int16_t frame = 0;
    std::int32_t randomSalt = 0;
    bool exploding = false;
    SDL_Surface* explosionImage = nullptr;
};

struct Brick {
    std::int16_t x = 0;
    std::int16_t y = 0;
    bool present = false;
    SDL_Surface* image = nullptr;
};

struct Star {
    std::int16_t vSpeed = 0;
    std::int16_t hSpeed = 1;
    std::int16_t x = 0;
    std::int16_t y = 0;
    SDL_Surface* images[5] = {nullptr, nullptr, nullptr, nullptr, nullptr};
    std::int32_t imageIndex = 0;
};

enum GiftKind : std::int16_t { Freeze = 0, Bricks = 1, ExtraLife = 2, SpeedUp = 3, Chain = 4 };

struct GiftLauncher {
    std::int16_t speed = 1;
    std::int16_t fallSpeed = 3;
    std::int16_t x = 0;
    std::int16_t y = 0;
    bool freezeActive = false;
    bool chainActive = false;
    SDL_Surface* launcherImage = nullptr;
    SDL_Surface* giftImage = nullptr;
    bool movingRight = false;
    bool falling = false;
    std::int16_t kind = Freeze;
    Player* player = nullptr;
    std::int32_t effectDuration = 100;
    std::int32_t effectCounter = 0;
    bool effectActive = false;
    std::int32_t animFrame = 0;
    std::int16_t effectKind = Freeze;  // the kind that was caught: its end action ends the effect
};

constexpr int kFormationRows = 6;
constexpr int kFormationColumns = 8;
constexpr int kEnemyCount = kFormationRows * kFormationColumns;
constexpr int kStarCount = 50;
constexpr int kBrickCount = 5;
constexpr int kLevelCount = 25;

extern Player player;
extern Enemy enemies[kEnemyCount];
extern Star stars[kStarCount];
extern Brick bricks[kBrickCount];
extern GiftLauncher giftLauncher;

// Level state.
extern std::int32_t formationX;
extern std::int32_t formationY;
extern bool formationMovingRight;
extern bool formationMovingLeft;
extern std::int32_t enemiesLeft;
extern bool hurry;
extern bool levelCleared;
extern bool gameOver;
extern bool showLevelBanner;
extern std::int32_t enemyFireChance;
extern std::int32_t giftLaunchChance;
extern std::int32_t lastRandom;
extern std::int32_t levelCounter;  // index of the level being played, 0 to 24

// The 25 formation layouts, 48 codes each in row-major order (0 empty, 1 to 3 hits).
extern const std::uint8_t formations[kLevelCount][kEnemyCount];

// Puts every record above back to its start value, as at process start (a verifier playing many
// recordings in one process starts each from there).
void resetWorld();

// Prepares level n (0 to 24), keeping lives, score and the counters that carry over.
void setupLevel(std::int16_t n);

// Runs frames of the current level until 2 (menu), 3 (quit), 4 (cleared) or 5 (game over).
int runLevel();

// lo to hi - 1, reseeding from the clock, the previous result and `salt` before every draw.
std::int32_t randomRange(std::int32_t lo, std::int32_t hi, std::int32_t salt);

// Plays sound n (0 to 3) from the data folder when sound is on.
void playSound(int n);
