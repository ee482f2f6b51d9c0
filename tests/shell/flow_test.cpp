// The game flow's state machine, driven by scripted stand-ins for the menu and the levels.
#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "game/world.h"
#include "platform/platform.h"
#include "shell/game_flow.h"

namespace {

// What the stand-ins answer, in order, and what the flow asked of them.
std::deque<int> menuAnswers;
std::deque<int> levelAnswers;
std::string trace;

int scriptedMenu(int inGame) {
    trace += inGame ? "M1 " : "M0 ";
    const int answer = menuAnswers.empty() ? 3 : menuAnswers.front();
    if (!menuAnswers.empty()) menuAnswers.pop_front();
    return answer;
}
int scriptedLevel() {
    trace += "L ";
    const int answer = levelAnswers.empty() ? 3 : levelAnswers.front();
    if (!levelAnswers.empty()) levelAnswers.pop_front();
    return answer;
}
void recordSetup(std::int16_t level) {
    trace += "S" + std::to_string(level) + " ";
}
void recordNewGame() {
    levelCounter = 0;
    trace += "N ";
}
void recordGameOver() {
    trace += "G ";
}

const FlowSteps kScripted = {scriptedMenu, scriptedLevel, recordSetup, recordNewGame, recordGameOver};

std::string run(std::deque<int> menus, std::deque<int> levels) {
    menuAnswers = std::move(menus);
    levelAnswers = std::move(levels);
    trace.clear();
    levelCounter = 0;
    runGameFlow(kScripted);
    return trace;
}

}  // namespace

TEST(GameFlow, QuitFromTheFirstMenuEndsWithoutAGame) {
    EXPECT_EQ(run({3}, {}), "M0 ");
}

TEST(GameFlow, ANewGameIsPreparedThenPlayedUntilQuit) {
    EXPECT_EQ(run({1}, {3}), "M0 N L ");
}

TEST(GameFlow, ClearedLevelsAdvanceAndTheTwentyFifthWrapsToTheFirst) {
    std::deque<int> clears(25, 4);
    clears.push_back(3);
    const std::string trace = run({1}, clears);
    EXPECT_NE(trace.find("L S23 L S24 L S0 L "), std::string::npos) << trace;
    EXPECT_EQ(levelCounter, 0);
}

TEST(GameFlow, GameOverPreparesANewGameBeforeTheMenuWhichThenStartsItWithoutASecondReset) {
    EXPECT_EQ(run({1, 1}, {4, 5, 3}), "M0 N L S1 L G N M0 L ");
    EXPECT_EQ(run({1, 3}, {5}), "M0 N L G N M0 ");  // quitting there ends without playing it
}

TEST(GameFlow, TheMenuDuringPlayResumesOrStartsOver) {
    EXPECT_EQ(run({1, 2}, {4, 2, 3}), "M0 N L S1 L M1 L ");  // resume: no new set-up
    EXPECT_EQ(levelCounter, 1);
    EXPECT_EQ(run({1, 1}, {4, 2, 3}), "M0 N L S1 L M1 N L ");
    EXPECT_EQ(levelCounter, 0);
    EXPECT_EQ(run({1, 3}, {2}), "M0 N L M1 ");
}

TEST(GameFlow, AQuitDuringALevelEndsAtOnceWithoutTheGameOverSequence) {
    EXPECT_EQ(run({1}, {4, 3}), "M0 N L S1 L ");
}
