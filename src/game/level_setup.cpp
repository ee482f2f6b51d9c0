// Level set-up: puts the field in its start state for level n, keeping what carries over between
// levels (lives, score, the ship's speed and moving flags, fire counters, hurry).
#include "game/game_frame.h"
#include "game/gifts.h"
#include "persist/settings.h"
#include "resources/images.h"

namespace {

constexpr std::int32_t kFireChanceByDifficulty[] = {7, 20, 30};
constexpr int kBrickTop = 220;
constexpr int kFirstBrickX = 5;
constexpr int kBrickGap = 35;
constexpr int kCarrierRestY = 30;
constexpr std::int16_t kBaseSpeed = 4;
constexpr std::int16_t kSpeedUpSpeed = 6;

void setFireChance() {
    const int difficulty = settings.difficulty;
    // Any other value keeps the chance the previous level had.
    if (difficulty >= 0 && difficulty <= 2) enemyFireChance = kFireChanceByDifficulty[difficulty];
}

void resetLevelFlags() {
    gameOver = false;
    enemiesLeft = 0;
    formationMovingRight = true;
    formationMovingLeft = false;
    formationX = 0;
    formationY = kFormationTop;
}

void placePlayer() {
    player.image = images[kPlayer1];
    player.x = static_cast<std::int16_t>(120 - (player.image ? player.image->w / 2 : 0));
    player.y = kPlayerTop;
    player.width = kPlayerWidth;
    player.height = kPlayerHeight;
    player.shot.image = images[kWeapon1];
    player.shot.active = false;
}

void scatterStars() {
    for (int i = 0; i < kStarCount; ++i) {
        Star& s = stars[i];
        for (int k = 0; k < 5; ++k) s.images[k] = images[kStarFront1 + k];
        s.y = static_cast<std::int16_t>(randomRange(1, 200, i));
        s.x = static_cast<std::int16_t>(randomRange(1, 240, 545));
        s.vSpeed = static_cast<std::int16_t>(randomRange(1, 8, 4343));
        s.hSpeed = static_cast<std::int16_t>(randomRange(1, 3, 4334));
        s.imageIndex = randomRange(0, 5, i);
    }
}

void fillCell(int row, int column, std::uint8_t code) {
    Enemy& e = enemies[row * kFormationColumns + column];
    e.alive = true;
    e.code = code;
    e.player = &player;
    e.bomb.image = images[kWeapon2];
    e.randomSalt = row * column;
    e.bomb.active = false;
    e.frame = 0;
    e.exploding = false;
    if (code == 0) e.alive = false;
    if (code >= 1 && code <= 3) {
        // An empty cell keeps whatever hitsLeft and frameCount it held.
        e.hitsLeft = static_cast<std::int16_t>(code - 1);
        e.frameCount = 4;
        ++enemiesLeft;
    }
    e.kindImages[0] = images[kEnemy11];
    e.kindImages[1] = images[kEnemy21];
    e.kindImages[2] = images[kEnemy31];
    e.explosionImage = images[kExplosion];
    e.width = kEnemyWidth;
    e.height = kEnemyHeight;
    e.x = static_cast<std::int16_t>(formationX + kEnemyWidth * column);
    e.y = static_cast<std::int16_t>(formationY + kEnemyHeight * row);
}

void placeBricks() {
    SDL_Surface* image = images[kBrick];
    const int width = image ? image->w : 0;
    for (int i = 0; i < kBrickCount; ++i) {
        bricks[i].image = image;
        bricks[i].y = kBrickTop;
        bricks[i].x = static_cast<std::int16_t>(i == 0 ? kFirstBrickX : bricks[i - 1].x + width + kBrickGap);
    }
}

}  // namespace

void resetGiftLauncher() {
    GiftLauncher& g = giftLauncher;
    SDL_Surface* launcherImage = g.launcherImage;
    SDL_Surface* giftImage = g.giftImage;
    Player* link = g.player;
    g = GiftLauncher{};
    g.launcherImage = launcherImage;
    g.giftImage = giftImage;
    g.player = link;
}

void setupLevel(std::int16_t n) {
    setFireChance();
    resetLevelFlags();
    placePlayer();
    resetGiftLauncher();
    if (player.speed == kSpeedUpSpeed) player.speed = kBaseSpeed;
    // Callers pass 0 to 24; anything else wraps rather than reading past the table.
    const std::uint8_t* layout = formations[(n % kLevelCount + kLevelCount) % kLevelCount];
    scatterStars();
    for (Brick& b : bricks) b.present = false;
    showLevelBanner = true;
    for (int row = 0; row < kFormationRows; ++row) {
        for (int column = 0; column < kFormationColumns; ++column) {
            fillCell(row, column, layout[row * kFormationColumns + column]);
        }
    }
    placeBricks();
    giftLauncher.launcherImage = images[kGiftLauncher1];
    giftLauncher.giftImage = images[kGifts];
    giftLauncher.player = &player;
    giftLauncher.x = 0;
    giftLauncher.y = kCarrierRestY;
}
