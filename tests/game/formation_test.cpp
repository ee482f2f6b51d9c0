// The formation's sweep, turns and descent, and the flight of shots and bombs.
#include <gtest/gtest.h>

#include "game/test_world.h"

namespace {

using namespace test_world;

class Formation : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        setupLevel(0);
    }
    // Living enemies take their positions from the formation, as drawFrame does.
    void placeCells() {
        for (int r = 0; r < kFormationRows; ++r) {
            for (int c = 0; c < kFormationColumns; ++c) {
                cell(r, c).x = static_cast<std::int16_t>(cellX(c));
                cell(r, c).y = static_cast<std::int16_t>(cellY(r));
            }
        }
    }
};

TEST_F(Formation, StepIsTwoZeroWhileFrozenAndOneMoreInAHurry) {
    struct Case {
        bool frozen, hurried;
        int step;
    } cases[] = {{false, false, 2}, {true, false, 0}, {false, true, 3}, {true, true, 1}};
    for (const Case& k : cases) {
        formationX = 50;
        formationMovingRight = true;
        formationMovingLeft = false;
        placeCells();  // well inside both edges
        giftLauncher.freezeActive = k.frozen;
        hurry = k.hurried;
        moveFormation();
        EXPECT_EQ(formationX, 50 + k.step) << "frozen " << k.frozen << " hurry " << k.hurried;
        formationMovingRight = false;
        formationMovingLeft = true;
        moveFormation();
        EXPECT_EQ(formationX, 50) << "frozen " << k.frozen << " hurry " << k.hurried;
    }
}

TEST_F(Formation, TurnsAtTheRightEdgeAndDropsTwo) {
    // Column 7's right side at 233 is still inside; one pixel more turns.
    formationX = 233 - 23 * 8;
    placeCells();
    moveFormation();
    EXPECT_TRUE(formationMovingRight);
    EXPECT_EQ(formationY, 40);
    formationX += 1;
    placeCells();
    moveFormation();
    EXPECT_FALSE(formationMovingRight);
    EXPECT_TRUE(formationMovingLeft);
    EXPECT_EQ(formationY, 42);
    EXPECT_EQ(formationX, 233 - 23 * 8 + 1 + 2 + 2);  // moved before the test
}

TEST_F(Formation, TurnsAtTheLeftEdge) {
    formationMovingRight = false;
    formationMovingLeft = true;
    formationX = 7;
    placeCells();
    moveFormation();
    EXPECT_TRUE(formationMovingLeft);
    formationX = 6;
    placeCells();
    moveFormation();
    EXPECT_TRUE(formationMovingRight);
    EXPECT_FALSE(formationMovingLeft);
    EXPECT_EQ(formationY, 42);
    EXPECT_FALSE(gameOver);
}

TEST_F(Formation, EmptyAndDestroyedCellsDoNotCountForTheEdges) {
    // Without its outer columns the formation sweeps further.
    for (int r = 0; r < kFormationRows; ++r) {
        cell(r, 0).alive = false;
        cell(r, 7).alive = false;
        cell(r, 7).exploding = true;
    }
    formationX = 60;  // column 7 would be past the right edge, column 6 is not
    placeCells();
    moveFormation();
    EXPECT_TRUE(formationMovingRight);
    formationMovingRight = false;
    formationMovingLeft = true;
    formationX = -16;  // column 0 would be past the left edge, column 1 at x 7 is not
    placeCells();
    moveFormation();
    EXPECT_TRUE(formationMovingLeft);
}

TEST_F(Formation, ReachingThePlayerLosesOnlyAtALeftTurn) {
    // The lowest row's bottom below the player's top (234).
    formationY = 234 - 18 * 6 + 1;
    formationX = 6;
    formationMovingRight = false;
    formationMovingLeft = true;
    placeCells();
    moveFormation();
    EXPECT_TRUE(gameOver);

    gameOver = false;
    formationX = 233 - 23 * 8 + 1;
    formationMovingRight = true;
    formationMovingLeft = false;
    placeCells();
    moveFormation();
    EXPECT_TRUE(formationMovingLeft);
    EXPECT_FALSE(gameOver);
}

TEST_F(Formation, ABottomExactlyAtThePlayersTopIsNotYetLost) {
    formationY = 234 - 18 * 6;
    formationX = 6;
    formationMovingRight = false;
    formationMovingLeft = true;
    placeCells();
    moveFormation();
    EXPECT_FALSE(gameOver);
    // The lowest living row decides: with row 5 gone a lower formation still plays on.
    formationY = 234 - 18 * 5;
    for (int c = 0; c < kFormationColumns; ++c) cell(5, c).alive = false;
    formationMovingRight = false;
    formationMovingLeft = true;
    placeCells();
    moveFormation();
    EXPECT_FALSE(gameOver);
}

TEST(Projectile, ShotRisesAndEndsAboveTheTop) {
    Projectile shot{nullptr, 9, 50, 234, 234, true};
    moveProjectile(shot);
    EXPECT_EQ(shot.y, 225);
    EXPECT_TRUE(shot.active);
    shot.y = 9;
    moveProjectile(shot);
    EXPECT_EQ(shot.y, 0);
    EXPECT_TRUE(shot.active);
    moveProjectile(shot);
    EXPECT_FALSE(shot.active);
    EXPECT_EQ(shot.y, 234);  // put back at its home height
    moveProjectile(shot);
    EXPECT_EQ(shot.y, 234);  // an inactive projectile does not move
}

TEST(Projectile, BombFallsAndEndsBelow258) {
    Projectile bomb{nullptr, -6, 50, 246, 234, true};
    moveProjectile(bomb);
    EXPECT_EQ(bomb.y, 252);
    EXPECT_TRUE(bomb.active);
    moveProjectile(bomb);
    EXPECT_EQ(bomb.y, 258);
    EXPECT_TRUE(bomb.active);
    moveProjectile(bomb);
    EXPECT_EQ(bomb.y, 264);
    EXPECT_FALSE(bomb.active);
}

}  // namespace
