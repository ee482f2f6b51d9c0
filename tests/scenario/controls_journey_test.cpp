// Whole journeys with the generated art and no stylus at all: from the menu through every menu screen
// (the focus frame shown on each), a level opened, left for the menu and resumed, a game over and
// a name typed, to the name in the 211-byte settings file. Once on the keyboard, once on a gamepad.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>

#include "game/world.h"
#include "persist/key_table.h"
#include "persist/settings.h"
#include "platform/script/script.h"
#include "shell/game_flow.h"
#include "shell/shell.h"
#include "support/test_support.h"
#include "ui/text_page.h"

namespace {

namespace script = platform::script;
using testing_support::Rgb;

constexpr Rgb kFrame = {255, 208, 64};
constexpr std::int32_t kFinalScore = 1234;
constexpr std::uint32_t kTimeLimit = 60000;

struct Shot {
    const char* name;
    platform::Rect focused;  // the frame must be on the columns left - 1 and right
};

class ControlsJourney : public testing_support::SdlTest {
  protected:
    void SetUp() override {
        SdlTest::SetUp();
        loadGameImages();
        story_ = testing_support::readFile(dataDir + "story");
        setUpText();
        helpPage.setText(story_.c_str());
        script::setTimeLimit(kTimeLimit);
        settings.highScores[0] = 5;  // to be cleared by the reset question
        std::strcpy(settings.highScoreNames[0], "Old");
    }

    // A key pressed and let go at `at`; returns the time of the next step.
    std::uint32_t key(SDLKey k, std::uint32_t at) {
        script::keyDown(k, at);
        script::keyUp(k, at + 1);
        return at + 100;
    }
    std::uint32_t hat(Uint8 direction, std::uint32_t at) {
        script::joyHat(direction, at);
        script::joyHat(SDL_HAT_CENTERED, at + 1);
        return at + 100;
    }
    std::uint32_t button(Uint8 b, std::uint32_t at) {
        script::joyButton(b, true, at);
        script::joyButton(b, false, at + 1);
        return at + 100;
    }
    // The screen after the key pressed at `at`: after its release, or `settle` ms on.
    void shootAt(std::uint32_t at, const char* name, platform::Rect focused, std::uint32_t settle = 1) {
        shots_[at + settle] = {name, focused};
    }

    // Plays the journey: the level is lost at `loseAt` with kFinalScore; `inPlay` runs at every frame.
    void play(std::uint32_t loseAt, std::function<void()> inPlay = nullptr) {
        script::setIdleHook([=] {
            // The last wait at a shot's time is the screen the player looks at until the next key.
            const auto shot = shots_.find(script::now());
            if (shot != shots_.end()) {
                saveScreenshot(shot->second.name);
                const platform::Rect& r = shot->second.focused;
                const int y = (r.top + r.bottom) / 2;
                framed_[shot->first] =
                    screenPixel(r.left - 1, y) == kFrame && screenPixel(r.right, y) == kFrame;
            }
            if (inPlay) inPlay();
            if (!lost_ && script::now() >= loseAt) {
                lost_ = true;
                player.score = kFinalScore;
                player.lives = 0;
                gameOver = true;  // as the bomb that takes the last life leaves it
            }
        });
        runGameFlow(kGameSteps);
        script::setIdleHook(nullptr);
        EXPECT_FALSE(script::timeLimitHit());
        for (const auto& [at, shot] : shots_) EXPECT_TRUE(framed_[at]) << "no focus frame on " << shot.name;
    }

    void expectStored(const char* name) {
        EXPECT_STREQ(settings.highScoreNames[0], name);
        const std::string bytes = testing_support::readFile(settingsPath());
        ASSERT_EQ(bytes.size(), kSettingsFileSize);
        EXPECT_EQ(bytes.substr(6, std::strlen(name) + 1), std::string(name, std::strlen(name) + 1));
        EXPECT_EQ(bytes.substr(156, 4), std::string("\xD2\x04\0\0", 4));  // 1234
    }

    std::string story_;
    std::map<std::uint32_t, Shot> shots_;
    std::map<std::uint32_t, bool> framed_;
    bool lost_ = false;
};

constexpr platform::Rect kNewGame = {10, 35, 118, 56}, kOptions = {10, 64, 103, 85},
                         kHelp = {10, 95, 68, 116};
constexpr platform::Rect kScores = {10, 125, 85, 147}, kAbout = {10, 153, 85, 175};
constexpr platform::Rect kHardMarker = {4, 129, 22, 147}, kHelpNext = {180, 284, 239, 319};
constexpr platform::Rect kScoresReset = {123, 209, 200, 229}, kAboutSupport = {80, 288, 163, 314};
constexpr platform::Rect kSupportBack = {4, 288, 68, 313}, kResume = {8, 9, 88, 31};

TEST_F(ControlsJourney, OnTheKeyboardFromTheMenuThroughEveryScreenAndAGameToANameInTheFile) {
    std::uint32_t t = key(SDLK_DOWN, 100);  // the first arrow shows the frame on New game
    shootAt(100, "focus-menu", kNewGame);
    t = key(SDLK_DOWN, t);
    t = key(SDLK_RETURN, t);                          // Options
    for (int k = 0; k < 3; ++k) t = key(SDLK_UP, t);  // from OK over the sound markers to Hard
    t = key(SDLK_SPACE, t);
    shootAt(t - 100, "focus-options", kHardMarker);
    t = key(SDLK_ESCAPE, t);  // saved on the way back
    t = key(SDLK_DOWN, t);
    t = key(SDLK_RETURN, t);  // Help, on its NEXT button
    shootAt(t - 100, "focus-help", kHelpNext);
    t = key(SDLK_ESCAPE, t);
    t = key(SDLK_DOWN, t);
    t = key(SDLK_RETURN, t);  // Scores
    t = key(SDLK_RIGHT, t);
    shootAt(t - 100, "focus-scores", kScoresReset);
    t = key(SDLK_RETURN, t);  // the reset question
    t = key(SDLK_y, t);
    t = key(SDLK_ESCAPE, t);
    t = key(SDLK_DOWN, t);
    t = key(SDLK_RETURN, t);  // About
    t = key(SDLK_RIGHT, t);
    shootAt(t - 100, "focus-about", kAboutSupport);
    t = key(SDLK_RETURN, t);  // Support
    shootAt(t - 100, "focus-support", kSupportBack);
    t = key(SDLK_ESCAPE, t);
    for (int k = 0; k < 4; ++k) t = key(SDLK_UP, t);
    shootAt(t - 100, "focus-menu-again", kNewGame);
    t = key(SDLK_RETURN, t);                              // a new game: the banner for a second, then frames
    t = key(SDLK_ESCAPE, t + 1500);                       // the MENU button's key
    shootAt(t - 100, "focus-menu-in-game", kResume, 50);  // the menu opens after that frame
    t = key(SDLK_ESCAPE, t);                              // resumes
    const std::uint32_t loseAt = t + 300;
    t = loseAt + 4000;  // past the game-over picture, in name entry
    script::typeText("Ace 77", t);
    t = key(SDLK_BACKSPACE, t + 100);
    t = key(SDLK_RETURN, t);
    t = key(SDLK_UP, t);      // on the menu after the game: up from New game stays there
    t = key(SDLK_ESCAPE, t);  // no game to resume: nothing
    for (int k = 0; k < 5; ++k) t = key(SDLK_DOWN, t);
    key(SDLK_RETURN, t);  // Quit
    play(loseAt);

    EXPECT_EQ(settings.difficulty, 2);
    expectStored("Ace 7");
    EXPECT_EQ(settings.highScores[1], 0) << "the reset question was not answered yes";
}

TEST_F(ControlsJourney, OnAGamepadFromTheMenuThroughALevelToANameInTheFile) {
    std::uint32_t t = hat(SDL_HAT_DOWN, 100);  // shows the frame
    t = hat(SDL_HAT_DOWN, t);
    t = hat(SDL_HAT_DOWN, t);
    t = button(0, t);  // Help
    t = button(1, t);  // back
    t = hat(SDL_HAT_UP, t);
    t = hat(SDL_HAT_UP, t);
    t = button(0, t);  // a new game
    const std::uint32_t leftFrom = t + 1200, leftTo = leftFrom + 300;
    script::joyAxis(0, -30000, leftFrom);
    script::joyAxis(0, -8000, leftTo);  // inside the dead zone: the ship stops
    const std::uint32_t fireAt = leftTo + 200;
    t = button(2, fireAt);
    t = button(7, t + 200);  // Start: the menu
    t = button(7, t);        // Start again: back in the level
    const std::uint32_t loseAt = t + 300;
    t = loseAt + 4000;
    t = button(0, t);  // shows the frame on the a key
    t = button(0, t);
    t = hat(SDL_HAT_RIGHT, t);
    t = button(0, t);
    t = hat(SDL_HAT_RIGHT, t);
    t = button(0, t);                                                        // a, s, d
    t = button(1, t);                                                        // back: deletes the d
    for (int k = 0; k < 9; ++k) t = hat(SDL_HAT_RIGHT, t);                   // from d along the row to Enter
    shootAt(t - 100, "focus-keyboard", {218, 234 + 34, 238, 234 + 52}, 10);  // name entry polls every 10 ms
    t = button(0, t);
    for (int k = 0; k < 5; ++k) t = hat(SDL_HAT_DOWN, t);
    button(0, t);  // Quit

    std::int16_t xBefore = -1, xAfter = -1;
    bool fired = false;
    play(loseAt, [&] {
        const std::uint32_t now = script::now();
        if (now <= leftFrom) xBefore = player.x;
        if (now <= leftTo + 100) xAfter = player.x;
        fired = fired || (now > fireAt && now < fireAt + 100 && player.shot.active);
    });
    EXPECT_EQ(xBefore - xAfter, 6 * player.speed) << "the stick moved the ship " << xBefore - xAfter;
    EXPECT_TRUE(fired);
    expectStored("as");
    EXPECT_EQ(settings.highScores[1], 5);
}

}  // namespace
