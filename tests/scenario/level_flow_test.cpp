// Levels played through the game flow's state machine with the real level loop and set-up, and a
// scripted menu: clearing the last formation starts the first again with lives and score kept.
#include <gtest/gtest.h>

#include "game/test_world.h"
#include "platform/script/script.h"
#include "shell/game_flow.h"

namespace {

using namespace test_world;
namespace script = platform::script;

// What the scripted menu answers, one entry per call; 3 (quit) once the script is used up.
std::vector<int> menuAnswers;
std::vector<int> menuCalls;
int gameOvers = 0;

int scriptedMenu(int inGame) {
    menuCalls.push_back(inGame);
    if (menuCalls.size() > menuAnswers.size()) return 3;
    return menuAnswers[menuCalls.size() - 1];
}
void countGameOver() {
    ++gameOvers;
}

const FlowSteps kSteps = {scriptedMenu, runLevel, setupLevel, startNewGame, countGameOver};

class LevelFlow : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        menuAnswers.clear();
        menuCalls.clear();
        gameOvers = 0;
    }
};

// Kills the last enemies the quick way: every living cell but one is emptied, and a shot is put in
// flight just below the one left, which it hits in the next frame.
void finishLevel() {
    clearFormation();
    Enemy& last = placeEnemy(5, 4, 1);
    player.shot.active = true;
    player.shot.x = static_cast<std::int16_t>(last.x + 5);
    player.shot.y = static_cast<std::int16_t>(last.y + 18 + 2);
    giftLauncher.freezeActive = true;  // the formation stands still for that frame
}

TEST_F(LevelFlow, ClearingTheLastFormationStartsTheFirstAgainWithLivesAndScoreKept) {
    menuAnswers = {2};  // "resume" the level 24 prepared below
    levelCounter = 24;
    setupLevel(24);
    player.lives = 5;
    player.score = 700;
    bool finished = false;
    int levelsSeen = 0;
    script::setIdleHook([&] {
        if (script::now() < 1100) return;  // let the banner and a frame pass
        if (levelCounter == 24 && !finished) {
            finishLevel();
            finished = true;
        } else if (levelCounter == 0 && levelsSeen == 0) {
            levelsSeen = 1;
            EXPECT_EQ(enemiesLeft, 42);
            EXPECT_EQ(cell(0, 2).code, formations[0][2]);
            EXPECT_EQ(cell(2, 1).code, formations[0][17]);  // 1 in level 0, 3 in level 24
            EXPECT_EQ(player.lives, 5);
            EXPECT_EQ(player.score, 701);
            script::quit();
        }
    });
    runGameFlow(kSteps);
    script::setIdleHook(nullptr);
    EXPECT_EQ(levelsSeen, 1);
    EXPECT_EQ(levelCounter, 0);
    EXPECT_EQ(gameOvers, 0);
    EXPECT_EQ(menuCalls, std::vector<int>{0});  // quit during play ends at once, without a menu
}

TEST_F(LevelFlow, TheMenuDuringPlayThenANewGameStartsLevelOneAfresh) {
    menuAnswers = {1, 1};  // new game; then, from the in-game menu, a new game again
    script::tap(100, 280, 2000);
    bool quitQueued = false;
    script::setIdleHook([&] {
        if (menuCalls.size() == 2 && !quitQueued) {
            quitQueued = true;
            script::quit(script::now() + 100);
        }
    });
    runGameFlow(kSteps);
    script::setIdleHook(nullptr);
    EXPECT_EQ(menuCalls, (std::vector<int>{0, 1}));
    EXPECT_EQ(levelCounter, 0);
    EXPECT_EQ(player.lives, 3);
    EXPECT_EQ(player.score, 0);
    EXPECT_EQ(formationX, 2 * 3);  // the second game's level 0 ran three frames
}

}  // namespace
