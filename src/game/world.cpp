// The playing field's global records with their start values, as before the first level.
#include "game/world.h"

Player player;
Enemy enemies[kEnemyCount];
Star stars[kStarCount];
Brick bricks[kBrickCount];
GiftLauncher giftLauncher;

std::int32_t formationX = 0;
std::int32_t formationY = 0;
bool formationMovingRight = false;
bool formationMovingLeft = false;
std::int32_t enemiesLeft = 0;
bool hurry = false;
bool levelCleared = false;
bool gameOver = false;
bool showLevelBanner = false;
std::int32_t enemyFireChance = 30;
std::int32_t giftLaunchChance = 10;
std::int32_t lastRandom = 1;
std::int32_t levelCounter = 0;

void resetWorld() {
    player = Player{};
    for (Enemy& e : enemies) e = Enemy{};
    for (Star& s : stars) s = Star{};
    for (Brick& b : bricks) b = Brick{};
    giftLauncher = GiftLauncher{};
    formationX = formationY = 0;
    formationMovingRight = formationMovingLeft = false;
    enemiesLeft = 0;
    hurry = levelCleared = gameOver = showLevelBanner = false;
    enemyFireChance = 30;
    giftLaunchChance = 10;
    lastRandom = 1;
}
