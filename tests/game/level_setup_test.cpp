// Level set-up: what a level starts with, and what it carries over from the level before.
#include <gtest/gtest.h>

#include <cstring>

#include "game/test_world.h"
#include "persist/settings.h"

namespace {

using namespace test_world;

class LevelSetup : public GameTest {};

TEST_F(LevelSetup, FirstLevelOfAFreshGame) {
    setupLevel(0);
    EXPECT_EQ(enemiesLeft, 42);
    EXPECT_EQ(formationX, 0);
    EXPECT_EQ(formationY, 40);
    EXPECT_TRUE(formationMovingRight);
    EXPECT_FALSE(formationMovingLeft);
    EXPECT_FALSE(gameOver);
    EXPECT_TRUE(showLevelBanner);
    for (int r = 0; r < kFormationRows; ++r) {
        for (int c = 0; c < kFormationColumns; ++c) {
            const Enemy& e = cell(r, c);
            SCOPED_TRACE("row " + std::to_string(r) + " column " + std::to_string(c));
            EXPECT_EQ(e.code, formations[0][r * 8 + c]);
            EXPECT_EQ(e.alive, e.code != 0);
            EXPECT_EQ(e.x, 23 * c);
            EXPECT_EQ(e.y, 40 + 18 * r);
            EXPECT_EQ(e.width, 23);
            EXPECT_EQ(e.height, 18);
            EXPECT_EQ(e.randomSalt, r * c);
            EXPECT_EQ(e.player, &player);
            EXPECT_FALSE(e.bomb.active);
            EXPECT_EQ(e.bomb.image, images[kWeapon2]);
            if (e.alive) {
                EXPECT_EQ(e.hitsLeft, e.code - 1);
                EXPECT_EQ(e.frameCount, 4);
                EXPECT_EQ(e.kindImages[e.hitsLeft], images[kEnemy11 + e.code - 1]);
            }
        }
    }
    for (const Brick& b : bricks) EXPECT_FALSE(b.present);
    EXPECT_FALSE(giftLauncher.effectActive);
    EXPECT_FALSE(giftLauncher.movingRight);
    EXPECT_FALSE(giftLauncher.falling);
    EXPECT_EQ(giftLauncher.x, 0);
    EXPECT_EQ(giftLauncher.y, 30);
    EXPECT_EQ(giftLauncher.launcherImage, images[kGiftLauncher1]);
    EXPECT_EQ(giftLauncher.player, &player);
}

TEST_F(LevelSetup, PlayerBricksAndStarsFollowTheImageSizes) {
    setupLevel(3);
    EXPECT_EQ(player.x, 120 - 80 / 2);  // the whole four-frame strip is 80 wide
    EXPECT_EQ(player.y, 234);
    EXPECT_EQ(player.width, 20);
    EXPECT_EQ(player.height, 24);
    EXPECT_EQ(player.shot.image, images[kWeapon1]);
    EXPECT_FALSE(player.shot.active);
    for (int i = 0; i < kBrickCount; ++i) {
        EXPECT_EQ(bricks[i].x, 5 + i * (kBrickWidth + 35));
        EXPECT_EQ(bricks[i].y, 220);
        EXPECT_EQ(bricks[i].image, images[kBrick]);
    }
    for (const Star& s : stars) {
        EXPECT_GE(s.y, 1);
        EXPECT_LE(s.y, 199);
        EXPECT_GE(s.x, 1);
        EXPECT_LE(s.x, 239);
        EXPECT_GE(s.vSpeed, 1);
        EXPECT_LE(s.vSpeed, 7);
        EXPECT_GE(s.hSpeed, 1);
        EXPECT_LE(s.hSpeed, 2);
        EXPECT_GE(s.imageIndex, 0);
        EXPECT_LE(s.imageIndex, 4);
        EXPECT_EQ(s.images[4], images[kStarFront1 + 4]);
    }
}

TEST_F(LevelSetup, EveryLayoutHoldsFortyTwoEnemiesInRowsOfFourSixAndEight) {
    const int perRow[kFormationRows] = {4, 6, 8, 8, 8, 8};
    for (int n = 0; n < kLevelCount; ++n) {
        setupLevel(static_cast<std::int16_t>(n));
        EXPECT_EQ(enemiesLeft, 42) << "level " << n;
        for (int r = 0; r < kFormationRows; ++r) {
            int living = 0;
            for (int c = 0; c < kFormationColumns; ++c) {
                const int code = formations[n][r * 8 + c];
                EXPECT_LE(code, 3);
                living += cell(r, c).alive;
            }
            EXPECT_EQ(living, perRow[r]) << "level " << n << " row " << r;
        }
    }
    EXPECT_EQ(0, std::memcmp(formations[9], formations[10], kEnemyCount));
    EXPECT_EQ(0, std::memcmp(formations[20], formations[21], kEnemyCount));
    EXPECT_NE(0, std::memcmp(formations[0], formations[1], kEnemyCount));
}

TEST_F(LevelSetup, CodesGiveHitsAndImages) {
    setupLevel(24);
    // Level 24, row 2: 1 3 3 3 3 3 3 1.
    EXPECT_EQ(cell(2, 0).hitsLeft, 0);
    EXPECT_EQ(cell(2, 0).kindImages[cell(2, 0).hitsLeft], images[kEnemy11]);
    EXPECT_EQ(cell(2, 1).hitsLeft, 2);
    EXPECT_EQ(cell(2, 1).kindImages[cell(2, 1).hitsLeft], images[kEnemy31]);
    EXPECT_EQ(cell(1, 3).hitsLeft, 2);  // row 1: 0 3 3 3 3 3 3 0
    EXPECT_EQ(cell(5, 0).hitsLeft, 1);  // row 5: 2 2 1 1 1 1 2 2
}

TEST_F(LevelSetup, DifficultySetsTheFireChanceAndAStrangeValueKeepsIt) {
    const std::int32_t expected[] = {7, 20, 30};
    for (int d = 0; d < 3; ++d) {
        settings.difficulty = static_cast<std::int16_t>(d);
        setupLevel(0);
        EXPECT_EQ(enemyFireChance, expected[d]);
    }
    settings.difficulty = 1;
    setupLevel(0);
    settings.difficulty = 3;
    setupLevel(1);
    EXPECT_EQ(enemyFireChance, 20);
    settings.difficulty = -1;
    setupLevel(1);
    EXPECT_EQ(enemyFireChance, 20);
}

TEST_F(LevelSetup, WhatCarriesOverToTheNextLevel) {
    setupLevel(0);
    player.lives = 7;
    player.score = 1234;
    player.movingLeft = true;
    player.frame = 2;
    cell(3, 3).fireCounter = 6;
    cell(0, 0).hitsLeft = 5;  // an empty cell keeps what it held
    cell(0, 0).frameCount = 9;
    hurry = true;
    levelCleared = true;
    gameOver = true;
    setupLevel(1);
    EXPECT_EQ(player.lives, 7);
    EXPECT_EQ(player.score, 1234);
    EXPECT_TRUE(player.movingLeft);
    EXPECT_EQ(player.frame, 2);
    EXPECT_EQ(player.speed, 4);
    EXPECT_EQ(cell(3, 3).fireCounter, 6);
    EXPECT_EQ(cell(3, 3).firePeriod, 10);
    EXPECT_EQ(cell(3, 3).pointsPerHit, 1);
    EXPECT_EQ(cell(0, 0).hitsLeft, 5);
    EXPECT_EQ(cell(0, 0).frameCount, 9);
    EXPECT_TRUE(hurry);
    EXPECT_TRUE(levelCleared);  // runLevel clears it when it reports it
    EXPECT_FALSE(gameOver);
}

TEST_F(LevelSetup, ARunningSpeedUpEndsAtTheLevelStartAndTheSpeedGoesBackToFour) {
    setupLevel(0);
    giftLauncher.effectActive = true;
    giftLauncher.effectKind = SpeedUp;
    giftLauncher.effectCounter = 40;
    giftLauncher.freezeActive = true;
    giftLauncher.chainActive = true;
    giftLauncher.falling = true;
    player.speed = 6;
    setupLevel(1);
    EXPECT_EQ(player.speed, 4);
    EXPECT_FALSE(giftLauncher.effectActive);
    EXPECT_EQ(giftLauncher.effectCounter, 0);
    EXPECT_FALSE(giftLauncher.freezeActive);
    EXPECT_FALSE(giftLauncher.chainActive);
    EXPECT_FALSE(giftLauncher.falling);
    // Another speed is left alone.
    player.speed = 9;
    setupLevel(2);
    EXPECT_EQ(player.speed, 9);
}

TEST_F(LevelSetup, ResetGiftLauncherKeepsImagesAndLink) {
    setupLevel(0);
    giftLauncher.speed = 5;
    giftLauncher.fallSpeed = 9;
    giftLauncher.kind = Chain;
    giftLauncher.animFrame = 1;
    giftLauncher.effectDuration = 3;
    giftLauncher.x = 100;
    resetGiftLauncher();
    EXPECT_EQ(giftLauncher.speed, 1);
    EXPECT_EQ(giftLauncher.fallSpeed, 3);
    EXPECT_EQ(giftLauncher.kind, Freeze);
    EXPECT_EQ(giftLauncher.animFrame, 0);
    EXPECT_EQ(giftLauncher.effectDuration, 100);
    EXPECT_EQ(giftLauncher.x, 0);
    EXPECT_EQ(giftLauncher.y, 0);
    EXPECT_EQ(giftLauncher.launcherImage, images[kGiftLauncher1]);
    EXPECT_EQ(giftLauncher.giftImage, images[kGifts]);
    EXPECT_EQ(giftLauncher.player, &player);
}

}  // namespace
