// The cell-by-cell step of a drawn frame: fire chances, bombs against bricks and the player, hits on
// enemies, explosions, the Chain effect, and the carrier taking the shot before any enemy.
#include <gtest/gtest.h>

#include "game/test_world.h"
#include "platform/script/script.h"

namespace {

using namespace test_world;

class EnemyStep : public QuietLevelTest {
  protected:
    const std::vector<std::string>& sounds() { return platform::script::soundsPlayed(); }
    bool cellShows(int row, int column, Rgb c) { return shows(cellX(column) + 11, cellY(row) + 9, c); }
};

TEST_F(EnemyStep, AnEnemyOfCodeThreeTakesThreeHitsAndChangesItsImage) {
    // Level 0, row 0: 0 0 1 3 3 1 0 0.
    Enemy& e = cell(0, 3);
    drawFrame();
    EXPECT_TRUE(cellShows(0, 3, kEnemyColour[2]));
    aimShotAt(0, 3);
    drawFrame();
    EXPECT_EQ(e.hitsLeft, 1);
    EXPECT_FALSE(player.shot.active);
    EXPECT_TRUE(cellShows(0, 3, kEnemyColour[1]));
    aimShotAt(0, 3);
    drawFrame();
    EXPECT_TRUE(cellShows(0, 3, kEnemyColour[0]));
    EXPECT_TRUE(e.alive);
    EXPECT_EQ(enemiesLeft, 42);
    EXPECT_TRUE(sounds().empty());  // only a destroying hit sounds
    aimShotAt(0, 3);
    drawFrame();
    EXPECT_FALSE(e.alive);
    EXPECT_EQ(e.code, 0);
    EXPECT_EQ(enemiesLeft, 41);
    EXPECT_EQ(player.score, 3);
    ASSERT_EQ(sounds().size(), 1u);
    EXPECT_EQ(sounds()[0], programDir + "data/1.wav");
}

TEST_F(EnemyStep, AnExplosionShowsFiveFramesThenTheCellIsEmpty) {
    Enemy& e = cell(5, 2);
    e.bomb.active = true;
    e.bomb.x = 0;
    e.bomb.y = 0;
    aimShotAt(5, 2);
    for (int k = 0; k < 5; ++k) {
        drawFrame();
        EXPECT_TRUE(cellShows(5, 2, kExplosionColour)) << "explosion frame " << k;
        EXPECT_FALSE(e.bomb.active);  // an exploding enemy's bomb ends
    }
    EXPECT_FALSE(e.exploding);
    drawFrame();
    EXPECT_TRUE(cellShows(5, 2, kBackground));
}

TEST_F(EnemyStep, TheCarrierTakesTheShotBeforeAnyEnemy) {
    giftLauncher.movingRight = true;
    giftLauncher.x = static_cast<std::int16_t>(cellX(3));
    giftLauncher.y = static_cast<std::int16_t>(cellY(5));
    aimShotAt(5, 3);
    drawFrame();
    EXPECT_TRUE(giftLauncher.falling);
    EXPECT_FALSE(giftLauncher.movingRight);
    EXPECT_FALSE(player.shot.active);
    EXPECT_EQ(cell(5, 3).hitsLeft, 0);
    EXPECT_TRUE(cell(5, 3).alive);
    EXPECT_EQ(player.score, 0);
    ASSERT_EQ(sounds().size(), 1u);
    EXPECT_EQ(sounds()[0], programDir + "data/2.wav");
}

TEST_F(EnemyStep, TheTenthKillPutsTheFormationInAHurry) {
    enemiesLeft = 11;
    aimShotAt(5, 0);
    drawFrame();
    EXPECT_EQ(enemiesLeft, 10);
    EXPECT_FALSE(hurry);
    aimShotAt(5, 1);
    drawFrame();
    EXPECT_EQ(enemiesLeft, 9);
    EXPECT_TRUE(hurry);
    EXPECT_FALSE(levelCleared);
}

TEST_F(EnemyStep, AFireChanceEveryTenthFrameDropsABombBelowTheEnemy) {
    enemyFireChance = 501;  // every chance succeeds
    Enemy& e = cell(4, 2);
    e.fireCounter = 8;
    cell(4, 3).fireCounter = 9;
    cell(4, 3).bomb = Projectile{images[kWeapon2], -6, 7, 100, 234, true};  // already in flight
    cell(0, 0).fireCounter = 9;                                             // an empty cell never fires
    drawFrame();
    EXPECT_EQ(e.fireCounter, 9);
    EXPECT_FALSE(e.bomb.active);
    drawFrame();
    EXPECT_EQ(e.fireCounter, 0);
    ASSERT_TRUE(e.bomb.active);
    EXPECT_EQ(e.bomb.x, cellX(2));
    EXPECT_EQ(e.bomb.y, cellY(4) + 18 + kBombHeight + 6);  // dropped, then moved in the same step
    EXPECT_EQ(cell(4, 3).bomb.x, 7);
    EXPECT_EQ(cell(0, 0).fireCounter, 9);
    EXPECT_FALSE(cell(0, 0).bomb.active);

    enemyFireChance = -1000;  // every chance fails, and the count starts again
    e.bomb.active = false;
    e.fireCounter = 9;
    drawFrame();
    EXPECT_EQ(e.fireCounter, 0);
    EXPECT_FALSE(e.bomb.active);
}

TEST_F(EnemyStep, APresentBrickStopsABombAndIsGone) {
    Enemy& e = cell(5, 0);
    e.bomb = Projectile{images[kWeapon2], -6, static_cast<std::int16_t>(bricks[1].x + 3), 214, 234, true};
    drawFrame();
    EXPECT_TRUE(e.bomb.active);  // the brick is not there
    EXPECT_EQ(e.bomb.y, 220);
    bricks[2].present = true;
    e.bomb.x = static_cast<std::int16_t>(bricks[2].x);
    e.bomb.y = 214;
    drawFrame();
    EXPECT_FALSE(e.bomb.active);
    EXPECT_FALSE(bricks[2].present);
    EXPECT_TRUE(shows(bricks[2].x + 1, 221, kBackground));
}

TEST_F(EnemyStep, ABrickIsDrawnWhilePresent) {
    bricks[4].present = true;
    drawFrame();
    EXPECT_TRUE(shows(bricks[4].x + 2, 222, kBrickColour));
    EXPECT_TRUE(shows(bricks[3].x + 2, 222, kBackground));
}

class BombOnPlayer : public EnemyStep {
  protected:
    // A bomb that reaches the player's rectangle in the next enemy step.
    void dropBombOnPlayer(int row, int column) {
        cell(row, column).bomb =
            Projectile{images[kWeapon2], -6, static_cast<std::int16_t>(player.x + 5), 234, 234, true};
    }
};

TEST_F(BombOnPlayer, CostsALifeAndPlaysTheHitSequenceOnThePlayersRectangle) {
    dropBombOnPlayer(5, 4);
    cell(2, 2).bomb = Projectile{images[kWeapon2], -6, 10, 100, 234, true};
    std::vector<bool> frames;
    platform::script::setIdleHook([&] {
        const int k = static_cast<int>(frames.size());
        frames.push_back(shows(player.x + 3, player.y + 3, playerHitColour(k)));
    });
    drawFrame();
    platform::script::setIdleHook(nullptr);
    EXPECT_EQ(player.lives, 2);
    EXPECT_FALSE(gameOver);
    EXPECT_EQ(frames, std::vector<bool>(5, true));
    EXPECT_EQ(platform::script::delayedTotal(), 250u);
    EXPECT_EQ(sounds(), std::vector<std::string>{programDir + "data/1.wav"});
    for (const Enemy& e : enemies) EXPECT_FALSE(e.bomb.active);
    EXPECT_EQ(player.x, 80);  // the ship stays where it was
}

TEST_F(BombOnPlayer, TheLastLifeEndsTheGameAndTheStatusLineShowsNoLives) {
    player.lives = 1;
    dropBombOnPlayer(5, 4);
    drawFrame();
    EXPECT_EQ(player.lives, 0);
    EXPECT_TRUE(gameOver);
    EXPECT_TRUE(shows(225, 305, glyphColour('0')));
}

TEST_F(BombOnPlayer, TheHitRectangleIsTakenWhereThePlayerStood) {
    dropBombOnPlayer(5, 4);
    cell(5, 4).bomb.x = static_cast<std::int16_t>(player.x - 1);
    drawFrame();
    EXPECT_EQ(player.lives, 3);
    cell(5, 4).bomb =
        Projectile{images[kWeapon2], -6, static_cast<std::int16_t>(player.x + 19), 251, 234, true};
    drawFrame();
    EXPECT_EQ(player.lives, 2);  // (x + 19, 257) is the rectangle's last pixel
}

class ChainEffect : public EnemyStep {
  protected:
    void SetUp() override {
        EnemyStep::SetUp();
        giftLauncher.chainActive = true;
    }
};

TEST_F(ChainEffect, AKillInTheTopRowRemovesNothingElse) {
    aimShotAt(0, 2);
    drawFrame();
    EXPECT_EQ(enemiesLeft, 41);
    EXPECT_TRUE(cell(1, 2).alive);
}

TEST_F(ChainEffect, AKillBelowAnEmptyOrExplodingCellRemovesNothingElse) {
    cell(1, 1).hitsLeft = 0;  // below the empty cell (0, 1)
    aimShotAt(1, 1);
    drawFrame();
    EXPECT_EQ(enemiesLeft, 41);
    ASSERT_TRUE(cell(1, 1).exploding);
    aimShotAt(2, 1);  // below the exploding cell
    drawFrame();
    EXPECT_EQ(enemiesLeft, 40);
    EXPECT_TRUE(cell(1, 1).exploding);
    EXPECT_TRUE(cell(3, 1).alive);
}

TEST_F(ChainEffect, AKillBelowALivingEnemyRemovesBothAndTheBombAboveEndsWithIt) {
    Enemy& above = cell(1, 3);
    // The upper enemy's bomb is about to hit the player: it must not, once its enemy is gone.
    above.bomb = Projectile{images[kWeapon2], -6, static_cast<std::int16_t>(player.x + 5), 200, 234, true};
    aimShotAt(2, 3);
    drawFrame();
    EXPECT_FALSE(cell(2, 3).alive);
    EXPECT_TRUE(cell(2, 3).exploding);
    EXPECT_FALSE(above.alive);
    EXPECT_FALSE(above.exploding);  // removed at once, without an explosion
    EXPECT_EQ(above.code, 0);
    EXPECT_FALSE(above.bomb.active);
    EXPECT_EQ(enemiesLeft, 40);
    EXPECT_EQ(player.score, 1);  // nothing for the removed one
    EXPECT_EQ(sounds().size(), 1u);
    for (int i = 0; i < 10; ++i) drawFrame();
    EXPECT_EQ(player.lives, 3);
}

TEST_F(ChainEffect, RemovingTheLastTwoClearsTheLevel) {
    clearFormation();
    placeEnemy(2, 4, 2);
    placeEnemy(3, 4, 1);
    aimShotAt(3, 4);
    drawFrame();
    EXPECT_EQ(enemiesLeft, 0);
    EXPECT_TRUE(levelCleared);
    EXPECT_TRUE(hurry);
}

// Fire and launch need a draw above 500 - chance: the draw that sits exactly on that line does nothing.
// Each step runs twice from the same generator state, first to learn its draw, then with the chance
// put on the line (extra 0) or one past it (extra 1).
TEST_F(EnemyStep, FireAndLaunchNeedADrawStrictlyAboveTheirLine) {
    for (int extra : {0, 1}) {
        clearFormation();
        Enemy& e = placeEnemy(5, 0, 1);
        const std::int32_t before = lastRandom;
        e.fireCounter = e.firePeriod - 1;
        drawFrame();  // the quiet field does not fire
        enemyFireChance = 500 - lastRandom + extra;
        lastRandom = before;
        e.fireCounter = e.firePeriod - 1;
        drawFrame();
        EXPECT_EQ(e.bomb.active, extra == 1) << "extra " << extra;

        const std::int32_t beforeLaunch = lastRandom;
        tryStartLauncher();
        giftLaunchChance = 500 - lastRandom + extra;
        lastRandom = beforeLaunch;
        tryStartLauncher();
        EXPECT_EQ(giftLauncher.movingRight, extra == 1) << "extra " << extra;
        giftLauncher.movingRight = false;
        quietField();
    }
}

}  // namespace
