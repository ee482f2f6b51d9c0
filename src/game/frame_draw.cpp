// Drawing one frame from the background up. The enemies' fire, bombs and hits run cell by cell in
// drawing order, so a cell's step sees the cells drawn before it already updated.
#include <cstdio>

#include "game/game_frame.h"
#include "game/gifts.h"
#include "platform/platform.h"
#include "resources/images.h"
#include "shell/shell.h"
#include "ui/font.h"

namespace {

constexpr int kFireDraws = 500;
constexpr int kPlayerHitFrames = 5;
constexpr int kHurryBelow = 10;
constexpr std::uint32_t kBannerMs = 1000;
constexpr int kNumberText = 12;

int heightOf(SDL_Surface* s) {
    return s ? s->h : 0;
}
int widthOf(SDL_Surface* s) {
    return s ? s->w : 0;
}

void moveAndDrawStar(Star& s) {
    // Stars drift against the player's motion.
    if (player.movingRight) {
        s.x = static_cast<std::int16_t>(s.x - s.hSpeed);
        if (s.x < 0) s.x = 230;
    } else if (player.movingLeft) {
        s.x = static_cast<std::int16_t>(s.x + s.hSpeed);
        if (s.x > 310) s.x = 0;
    }
    s.y = static_cast<std::int16_t>(s.y + s.vSpeed);
    if (s.y > kScreenHeight) {
        s.y = 0;
        s.x = static_cast<std::int16_t>(randomRange(1, 240, 546));
        s.vSpeed = static_cast<std::int16_t>(randomRange(1, 8, 6352));
        s.hSpeed = static_cast<std::int16_t>(randomRange(1, 3, 6352));
        s.imageIndex = randomRange(0, 5, 633332);
    }
    blitImage(s.images[s.imageIndex], s.x, s.y);
}

void drawPlayer() {
    if (++player.frame == player.frameCount) player.frame = 0;
    blitImagePart(images[kPlayer1], player.x, player.y, kPlayerWidth, kPlayerHeight,
                  player.frame * kPlayerWidth, 0);
}

void takeFireChance(Enemy& e) {
    if (++e.fireCounter != e.firePeriod) return;
    const std::int32_t v = randomRange(0, kFireDraws, e.randomSalt);
    if (v > kFireDraws - enemyFireChance && !e.bomb.active) {
        e.bomb.x = e.x;
        e.bomb.y = static_cast<std::int16_t>(e.y + e.height + heightOf(images[kWeapon2]));
        e.bomb.active = true;
    }
    e.fireCounter = 0;
}

void bombAgainstBricks(Projectile& bomb) {
    if (!bomb.active) return;
    const int w = widthOf(images[kBrick]);
    const int h = heightOf(images[kBrick]);
    // Every present brick is tested with the same point, even after one has stopped the bomb.
    for (Brick& b : bricks) {
        if (b.present && platform::ptInRect({b.x, b.y, b.x + w, b.y + h}, bomb.x, bomb.y)) {
            b.present = false;
            bomb.active = false;
        }
    }
}

// True when the player's shot destroys e.
bool shotAgainstEnemy(Enemy& e) {
    Projectile& shot = player.shot;
    if (!shot.active || !e.alive) return false;
    if (!platform::ptInRect({e.x, e.y, e.x + e.width, e.y + e.height}, shot.x, shot.y)) return false;
    --e.hitsLeft;
    if (e.player) e.player->score += e.pointsPerHit;
    shot.active = false;
    if (e.hitsLeft >= 0) return false;  // survives, showing the image of its new hitsLeft
    e.frame = 0;
    e.alive = false;
    e.code = 0;
    e.exploding = true;
    return true;
}

void countLoss() {
    --enemiesLeft;
    if (enemiesLeft < kHurryBelow) hurry = true;
    if (enemiesLeft <= 0) levelCleared = true;
}

// With the Chain effect a kill also removes the living enemy just above, silently and for no points.
// Its bomb ends with it: bombs are only drawn for living enemies, and an unseen bomb must not hit.
void chainUpwards(int row, int column) {
    if (!giftLauncher.chainActive || row == 0) return;
    Enemy& above = enemies[(row - 1) * kFormationColumns + column];
    if (!above.alive) return;
    above.code = 0;
    above.alive = false;
    above.bomb.active = false;
    countLoss();
}

void bombAgainstPlayer(Projectile& bomb, const platform::Rect& playerRect) {
    if (!bomb.active || !platform::ptInRect(playerRect, bomb.x, bomb.y)) return;
    bomb.active = false;
    --player.lives;
    showPlayerHit();
    if (player.lives <= 0) gameOver = true;
}

void drawCell(Enemy& e) {
    if (e.exploding) {
        e.bomb.active = false;
        blitImagePart(e.explosionImage, e.x, e.y, kEnemyWidth, kEnemyHeight, e.frame * kEnemyWidth, 0);
        // The explosion shows one frame more than the enemy's own strip.
        if (++e.frame == e.frameCount + 1) {
            e.exploding = false;
            e.frame = 0;
        }
    } else if (e.alive) {
        if (++e.frame == e.frameCount) e.frame = 0;
        blitImagePart(e.kindImages[e.hitsLeft], e.x, e.y, kEnemyWidth, kEnemyHeight, e.frame * kEnemyWidth,
                      0);
        if (e.bomb.active) blitImage(e.bomb.image, e.bomb.x, e.bomb.y);
    }
}

void enemyStep(int row, int column, const platform::Rect& playerRect) {
    Enemy& e = enemies[row * kFormationColumns + column];
    e.x = static_cast<std::int16_t>(e.width * column + formationX);
    e.y = static_cast<std::int16_t>(e.height * row + formationY);
    if (e.alive) takeFireChance(e);
    moveProjectile(e.bomb);
    bombAgainstBricks(e.bomb);
    if (shotAgainstEnemy(e)) {
        countLoss();
        playSound(kSoundEnemyHit);
        chainUpwards(row, column);
    }
    bombAgainstPlayer(e.bomb, playerRect);
    drawCell(e);
}

void drawStatusLine() {
    // Room for any 32-bit value with its sign and the NUL.
    char level[kNumberText] = {}, score[kNumberText] = {}, lives[kNumberText] = {};
    std::snprintf(level, sizeof level, "%d", static_cast<int>(levelCounter + 1));
    std::snprintf(score, sizeof score, "%d", static_cast<int>(player.score));
    std::snprintf(lives, sizeof lives, "%d", static_cast<int>(player.lives));
    selectFont(kFontWhite);
    drawText(level, 224, 294, kFontWhite);
    drawText(score, 5, 304, kFontWhite);
    drawText(lives, 224, 304, kFontWhite);
    selectFont(kFont);
}

void drawBannerIfPending() {
    if (!showLevelBanner) return;
    SDL_Surface* banner = images[kStart];
    blitImage(banner, 120 - widthOf(banner) / 2, 160 - heightOf(banner) / 2);
    updateScreen();
    platform::delay(kBannerMs);
    showLevelBanner = false;
}

}  // namespace

void drawFrame() {
    // Bombs are tested against where the player stood when the frame began.
    const platform::Rect playerRect = {player.x, player.y, player.x + player.width, player.y + player.height};
    blitImage(images[kGameBackground], 0, 0);
    for (Star& s : stars) moveAndDrawStar(s);
    if (player.shot.active) blitImage(player.shot.image, player.shot.x, player.shot.y);
    drawPlayer();
    drawGiftLauncher();
    checkLauncherHit();
    for (int row = 0; row < kFormationRows; ++row) {
        for (int column = 0; column < kFormationColumns; ++column) enemyStep(row, column, playerRect);
    }
    for (const Brick& b : bricks) {
        if (b.present) blitImage(images[kBrick], b.x, b.y);
    }
    drawStatusLine();
    drawBannerIfPending();
    updateScreen();
}

void showPlayerHit() {
    playSound(kSoundEnemyHit);
    for (int k = 0; k < kPlayerHitFrames; ++k) {
        blitImagePart(images[kExplosionPlayer], player.x, player.y, kPlayerWidth, kPlayerHeight,
                      kPlayerWidth * k, 0);
        SDL_Rect area = {player.x, player.y, kPlayerWidth, kPlayerHeight};
        platform::presentRects(screen, 1, &area);
        platform::delay(kFrameDelayMs);
    }
    for (Enemy& e : enemies) e.bomb.active = false;
}
