// How the formation sweeps and descends, and how shots and bombs fly.
#include "game/game_frame.h"

namespace {

constexpr int kBaseStep = 2;
constexpr int kTurnDrop = 2;
constexpr int kRightEdge = 233;  // a living enemy's right side beyond it turns the formation
constexpr int kLeftEdge = 7;     // a living enemy's left side before it turns the formation
constexpr int kBombFloor = 258;  // the bottom of the player's rectangle

// Edge tests use the positions of the last drawn frame.
template <typename Test>
bool anyLivingEnemy(Test test) {
    for (const Enemy& e : enemies) {
        if (e.alive && test(e)) return true;
    }
    return false;
}

}  // namespace

void moveFormation() {
    int step = kBaseStep;
    if (giftLauncher.freezeActive) step = 0;
    if (hurry) step += 1;
    if (formationMovingRight) {
        formationX += step;
        if (anyLivingEnemy([](const Enemy& e) { return e.x + kEnemyWidth > kRightEdge; })) {
            formationMovingLeft = true;
            formationMovingRight = false;
            formationY += kTurnDrop;
        }
    } else if (formationMovingLeft) {
        formationX -= step;
        if (anyLivingEnemy([](const Enemy& e) { return e.x < kLeftEdge; })) {
            formationMovingRight = true;
            formationMovingLeft = false;
            formationY += kTurnDrop;
            // Only a turn at the left edge can end the game.
            if (anyLivingEnemy([](const Enemy& e) { return e.y + kEnemyHeight > kPlayerTop; }))
                gameOver = true;
        }
    }
}

void moveProjectile(Projectile& p) {
    if (!p.active) return;
    p.y = static_cast<std::int16_t>(p.y - p.speed);
    if (p.y < 0) {
        p.y = p.homeY;
        p.active = false;
    }
    if (p.y > kBombFloor) p.active = false;
}
