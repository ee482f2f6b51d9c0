// The game's top level: loading at start-up, then menu, levels and game over until the player quits.
//
//   state                 result  action and next state
//   first menu            1       startNewGame, playing
//   playing               4       next level (25 wraps to 0), playing
//   playing               5       game over, startNewGame, menu after game over
//   playing               2       menu in game
//   menu after game over  1       playing (the game prepared before the menu opened)
//   menu in game          1       startNewGame, playing
//   menu in game          2       playing, same level, same state
//   any                   3       end
#include "shell/game_flow.h"

#include <cstdio>
#include <string>

#include "game/results.h"
#include "game/world.h"
#include "persist/name_entry.h"
#include "persist/settings.h"
#include "replay/recorder.h"
#include "resources/images.h"
#include "resources/pack_reader.h"
#include "shell/shell.h"
#include "ui/font.h"
#include "ui/screens.h"
#include "ui/text_page.h"

char* storyText = nullptr;

namespace {

constexpr std::uint32_t kSplashMs = 1000;
constexpr std::uint32_t kGameOverMs = 3000;

bool showSplash() {
    ImageList splash;
    std::string error;
    if (!readPack(packReader(), splash, kSplashPackName, kSplashPackCapacity, &error) || splash.count < 1) {
        if (error.empty()) error = "Cannot load " + packPath(kSplashPackName) + ": it holds no picture.";
        platform::messageBox(0, error.c_str(), "KORVEX", platform::MessageStyle::Ok);
        return false;
    }
    images[kStartScreen] = getImage(splash, 0);
    blitImage(images[kStartScreen], 0, 0);
    updateScreen();
    platform::delay(kSplashMs);
    freeImages(splash);
    images[kStartScreen] = nullptr;  // the main pack fills the slot next
    return true;
}

void paintMessageText(const char* text, int x, int y) {
    drawText(text, x, y, kFont);
}

// The story file and a NUL; a missing or unreadable file gives an empty text.
char* readStory(const std::string& path) {
    constexpr std::size_t kMaxStoryBytes = 1 << 20;  // a story of a few pages is a few kilobytes
    std::string bytes;
    platform::readFile(path, kMaxStoryBytes, &bytes);
    char* text = new char[bytes.size() + 1];
    bytes.copy(text, bytes.size());
    text[bytes.size()] = '\0';
    return text;
}

}  // namespace

void setUpText() {
    selectFont(kFont);
    platform::setMessagePainter(screen, paintMessageText, textWidth, images[kFont]->h);
    helpPage.setArea(19, 60, 205, 190);
    helpPage.setBackground(images[kHelp]);
    helpPage.setNormalFont(images[kFont]);
    helpPage.setBoldFont(images[kFontBold]);
    helpPage.useFont(0);
}

std::int16_t nextLevel() {
    if (++levelCounter == kLevelCount) levelCounter = 0;
    return static_cast<std::int16_t>(levelCounter);
}

void startNewGame() {
    // A recorded game starts here: with what it carries over from the games before, so that a
    // replay runs this very set-up again.
    replay::beginGame();
    player.lives = 3;
    player.score = 0;
    levelCounter = 0;
    setupLevel(0);
}

void showGameOver() {
    SDL_Surface* picture = images[kGameOver];
    blitImage(picture, 120 - picture->w / 2, 160 - picture->h / 2);
    updateScreen();
    platform::delay(kGameOverMs);
    enterHighScore(player.score);
}

const FlowSteps kGameSteps = {showMenu, runLevel, setupLevel, startNewGame, showGameOver};

void runGameFlow(const FlowSteps& steps) {
    int result = steps.showMenu(0);
    if (result == kMenuNewGame) steps.startNewGame();
    while (result != kLevelQuit) {
        result = steps.runLevel();
        if (result == kLevelCleared) {
            steps.setupLevel(nextLevel());
        } else if (result == kLevelLost) {
            replay::endGame();  // kept before the name entry, which may keep it as a high score's
            steps.showGameOver();
            steps.startNewGame();
            result = steps.showMenu(0);
        } else if (result == kLevelMenu) {
            result = steps.showMenu(1);
            if (result == kMenuNewGame) steps.startNewGame();
        }
    }
    replay::endGame();  // the player left the game by quitting
}

bool runGame() {
    loadSettings(settings);
    packReader();
    if (!showSplash()) return false;
    std::string error;
    if (!loadImages(&error)) {
        platform::messageBox(0, error.c_str(), "KORVEX", platform::MessageStyle::Ok);
        return false;
    }
    setUpText();
    delete[] storyText;  // null but in a second run within one process (tests)
    storyText = readStory(dataDir + "story");
    helpPage.setText(storyText);
    runGameFlow(kGameSteps);
    return true;
}
