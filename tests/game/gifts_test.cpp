// The gift carrier's crossing, the falling gift, the five effects and their 100-frame timing.
#include <gtest/gtest.h>

#include "game/test_world.h"
#include "platform/script/script.h"

namespace {

using namespace test_world;

class Gifts : public QuietLevelTest {
  protected:
    // A gift of `kind` falling so that its centre reaches the player's rectangle in the next step.
    void dropGiftOnPlayer(std::int16_t kind) {
        giftLauncher.falling = true;
        giftLauncher.kind = kind;
        giftLauncher.x = static_cast<std::int16_t>(player.x + 4);
        giftLauncher.y = static_cast<std::int16_t>(player.y - 6);
    }
    // Game steps of the gift alone, as advanceFrame makes them.
    void steps(int n) {
        for (int i = 0; i < n; ++i) {
            updateGift();
            tryStartLauncher();
        }
    }
    const std::vector<std::string>& sounds() { return platform::script::soundsPlayed(); }
};

TEST_F(Gifts, ACrossingTakes221StepsAndTheCarrierThenRests) {
    giftLauncher.movingRight = true;
    giftLauncher.x = 0;
    steps(220);
    EXPECT_TRUE(giftLauncher.movingRight);
    EXPECT_EQ(giftLauncher.x, 220);
    steps(1);
    EXPECT_FALSE(giftLauncher.movingRight);
    EXPECT_EQ(giftLauncher.x, 0);
    EXPECT_EQ(giftLauncher.y, 30);
}

TEST_F(Gifts, TheCarrierIsDrawnInTwoAlternatingFramesAndTheGiftInItsKindsFrame) {
    giftLauncher.movingRight = true;
    giftLauncher.x = 100;
    drawFrame();
    EXPECT_TRUE(shows(110, 35, kCarrierColour));
    EXPECT_EQ(giftLauncher.animFrame, 1);
    drawFrame();
    EXPECT_EQ(giftLauncher.animFrame, 0);
    giftLauncher.movingRight = false;
    giftLauncher.falling = true;
    giftLauncher.kind = SpeedUp;
    drawFrame();
    EXPECT_TRUE(shows(105, 35, giftColour(SpeedUp)));
    giftLauncher.falling = false;
    drawFrame();
    EXPECT_TRUE(shows(105, 35, kBackground));  // a resting carrier is not drawn
}

TEST_F(Gifts, AShotHittingTheCrossingCarrierReleasesAGift) {
    giftLauncher.movingRight = true;
    giftLauncher.x = 60;
    player.shot = Projectile{images[kWeapon1], 9, 60 + 23, 30 + kCarrierHeight - 1, 234, true};
    checkLauncherHit();
    EXPECT_TRUE(giftLauncher.falling);
    EXPECT_FALSE(giftLauncher.movingRight);
    EXPECT_GE(giftLauncher.kind, 0);
    EXPECT_LE(giftLauncher.kind, 4);
    EXPECT_FALSE(player.shot.active);
    EXPECT_EQ(player.shot.x, 83);  // the spent shot stays where it hit
    EXPECT_EQ(sounds(), std::vector<std::string>{programDir + "data/2.wav"});
    // The gift falls from the carrier's place from the next step on.
    steps(1);
    EXPECT_EQ(giftLauncher.x, 60);
    EXPECT_EQ(giftLauncher.y, 33);
}

TEST_F(Gifts, OnlyAnActiveShotOnTheCrossingCarrierCounts) {
    // Just outside the carrier's rectangle.
    giftLauncher.movingRight = true;
    giftLauncher.x = 60;
    player.shot = Projectile{images[kWeapon1], 9, 84, 35, 234, true};
    checkLauncherHit();
    EXPECT_TRUE(giftLauncher.movingRight);
    // A spent shot's last point on the carrier.
    player.shot = Projectile{images[kWeapon1], 9, 70, 35, 234, false};
    checkLauncherHit();
    EXPECT_TRUE(giftLauncher.movingRight);
    // The resting, unseen carrier at (0, 30).
    giftLauncher.movingRight = false;
    giftLauncher.x = 0;
    player.shot = Projectile{images[kWeapon1], 9, 5, 35, 234, true};
    checkLauncherHit();
    EXPECT_FALSE(giftLauncher.falling);
    EXPECT_TRUE(player.shot.active);
    // A falling gift is not hit again and keeps its kind.
    giftLauncher.falling = true;
    giftLauncher.kind = Bricks;
    checkLauncherHit();
    EXPECT_EQ(giftLauncher.kind, Bricks);
    EXPECT_TRUE(player.shot.active);
    EXPECT_TRUE(sounds().empty());
}

TEST_F(Gifts, AGiftPastTheBottomIsLostAndTheCarrierMayStartAtOnce) {
    giftLauncher.falling = true;
    giftLauncher.kind = ExtraLife;
    giftLauncher.x = 5;  // away from the player
    giftLauncher.y = 305;
    steps(1);
    EXPECT_TRUE(giftLauncher.falling);  // 308 + 12 is not past 320
    giftLaunchChance = 501;
    steps(1);
    EXPECT_FALSE(giftLauncher.falling);
    EXPECT_EQ(giftLauncher.y, 30);
    EXPECT_EQ(giftLauncher.x, 0);
    EXPECT_TRUE(giftLauncher.movingRight);
    EXPECT_EQ(player.lives, 3);
    EXPECT_FALSE(giftLauncher.effectActive);
}

TEST_F(Gifts, ACaughtGiftRestsAt33AndSounds) {
    dropGiftOnPlayer(ExtraLife);
    steps(1);
    EXPECT_FALSE(giftLauncher.falling);
    EXPECT_EQ(giftLauncher.x, 0);
    EXPECT_EQ(giftLauncher.y, 33);
    EXPECT_TRUE(giftLauncher.effectActive);
    EXPECT_EQ(giftLauncher.effectCounter, 1);
    EXPECT_EQ(sounds(), std::vector<std::string>{programDir + "data/3.wav"});
}

TEST_F(Gifts, TheCatchNeedsTheGiftsCentreInThePlayersRectangle) {
    dropGiftOnPlayer(ExtraLife);
    giftLauncher.x = static_cast<std::int16_t>(player.x - 7);  // centre at x - 1
    steps(1);
    EXPECT_TRUE(giftLauncher.falling);
    dropGiftOnPlayer(ExtraLife);
    giftLauncher.x = static_cast<std::int16_t>(player.x + 13);  // centre at x + 19, the last column
    steps(1);
    EXPECT_FALSE(giftLauncher.falling);
    EXPECT_EQ(player.lives, 4);
}

// The effects seen from the frame's side: what the catch changes at once and what the end takes back.
TEST_F(Gifts, ExtraLifeAddsOneAtOnceAndKeepsIt) {
    dropGiftOnPlayer(ExtraLife);
    steps(1);
    EXPECT_EQ(player.lives, 4);
    steps(200);
    EXPECT_EQ(player.lives, 4);
}

TEST_F(Gifts, BricksRestoresAllFiveAndTheyStay) {
    bricks[1].present = true;
    dropGiftOnPlayer(Bricks);
    steps(1);
    for (const Brick& b : bricks) EXPECT_TRUE(b.present);
    steps(200);
    for (const Brick& b : bricks) EXPECT_TRUE(b.present);
}

TEST_F(Gifts, SpeedUpLastsOneHundredMoves) {
    dropGiftOnPlayer(SpeedUp);
    player.movingRight = true;
    player.x = 0;
    giftLauncher.x = 4;
    giftLauncher.y = static_cast<std::int16_t>(player.y - 6);
    // Through the real step, so the moves at the higher speed are counted as the player sees them.
    advanceFrame();  // the catch happens after this step's move
    EXPECT_EQ(player.speed, 6);
    player.movingRight = false;
    int fastMoves = 0;
    for (int i = 0; i < 150; ++i) {
        if (player.speed == 6) ++fastMoves;
        advanceFrame();
    }
    EXPECT_EQ(fastMoves, 100);
    EXPECT_EQ(player.speed, 4);
}

TEST_F(Gifts, FreezeAndChainAreSeenSetByOneHundredSteps) {
    for (std::int16_t kind : {Freeze, Chain}) {
        dropGiftOnPlayer(kind);
        steps(1);
        bool* flag = kind == Freeze ? &giftLauncher.freezeActive : &giftLauncher.chainActive;
        int stepsSeen = 1;
        while (*flag && stepsSeen < 500) {
            steps(1);
            if (*flag) ++stepsSeen;
        }
        EXPECT_EQ(stepsSeen, 100) << "kind " << kind;
        EXPECT_FALSE(giftLauncher.effectActive);
        EXPECT_EQ(giftLauncher.effectCounter, 0);
    }
}

TEST_F(Gifts, TheEffectThatEndsIsTheOneThatWasCaught) {
    dropGiftOnPlayer(SpeedUp);
    steps(1);
    // Even if the record's kind changed meanwhile, the caught SpeedUp is what ends.
    giftLauncher.kind = Freeze;
    giftLauncher.freezeActive = true;
    steps(100);
    EXPECT_FALSE(giftLauncher.effectActive);
    EXPECT_EQ(player.speed, 4);
    EXPECT_TRUE(giftLauncher.freezeActive);
}

TEST_F(Gifts, NoNewCarrierWhileAnEffectRunsEvenWhenTheDrawSaysGo) {
    dropGiftOnPlayer(ExtraLife);
    steps(1);
    giftLaunchChance = 501;
    steps(99);
    EXPECT_FALSE(giftLauncher.movingRight);
    EXPECT_TRUE(giftLauncher.effectActive);
    steps(1);
    EXPECT_TRUE(giftLauncher.movingRight);
    EXPECT_EQ(giftLauncher.y, 33);  // it starts from where the caught gift left the record
}

}  // namespace
