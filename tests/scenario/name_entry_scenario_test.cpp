// Whole name entries on the virtual clock: stylus scripts typed on the on-screen keyboard, down to
// the bytes of the settings file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "persist/keyboard_fixture.h"
#include "persist/name_entry.h"
#include "persist/settings.h"

namespace {

using namespace keyboard_testing;
using platform::script::moveTo;
using platform::script::press;
using platform::script::release;
using platform::script::tap;
using testing_support::Rgb;

constexpr int kOkX = 58, kOkY = 219;

// Keys by index for the typing script.
constexpr int kKeyK = 35, kKeyO = 23, kKeyR = 18, kKeyV = 44, kKeyX = 42;

class NameEntryScenario : public KeyboardTest {
  protected:
    void SetUp() override {
        KeyboardTest::SetUp();
        platform::script::setTimeLimit(60 * 1000);
        const char* names[] = {"ann", "bob", "cy", "dee", "eve"};
        const std::int32_t scores[] = {1000, 800, 300, 200, 100};
        for (int k = 0; k < kHighScoreCount; ++k) {
            std::strcpy(settings.highScoreNames[k], names[k]);
            settings.highScores[k] = scores[k];
        }
    }
    // Taps the keys one every 50 ms from `start`; returns the time after the last.
    std::uint32_t typeKeys(const std::vector<int>& keys, std::uint32_t start = 100) {
        std::uint32_t at = start;
        for (int key : keys) {
            tap(keyX(key), keyY(key), at);
            at += 50;
        }
        return at;
    }
    std::string fileBytes() const { return testing_support::readFile(settingsPath()); }
    Rgb keyboardPixel() const { return screenPixel(120, kKeyboardTop + 1); }  // a line no key covers
    void expectNotTimedOut() const { EXPECT_FALSE(platform::script::timeLimitHit()); }
};

std::int32_t scoreInFile(const std::string& bytes, int place) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[156 + 4 * place + i]);
    return static_cast<std::int32_t>(v);
}

TEST_F(NameEntryScenario, NameTypedInBothCasesIsStoredInTableAndFile) {
    std::uint32_t at =
        typeKeys({kKeyIndexShift, kKeyK, kKeyO, kKeyR, kKeyIndexCaps, kKeyV, kKeyIndexCaps, kKeyX});
    tap(kOkX, kOkY, at);
    enterHighScore(500);
    expectNotTimedOut();

    const char* names[] = {"ann", "bob", "KorVx", "cy", "dee"};
    const std::int32_t scores[] = {1000, 800, 500, 300, 200};
    const std::string bytes = fileBytes();
    ASSERT_EQ(bytes.size(), kSettingsFileSize);
    for (int p = 0; p < kHighScoreCount; ++p) {
        EXPECT_STREQ(settings.highScoreNames[p], names[p]) << p;
        EXPECT_EQ(settings.highScores[p], scores[p]) << p;
        EXPECT_EQ(std::string(bytes.c_str() + 6 + 30 * p), names[p]) << p;
        EXPECT_EQ(scoreInFile(bytes, p), scores[p]) << p;
    }
    EXPECT_EQ(keyboardCase(), 0);
}

TEST_F(NameEntryScenario, EitherEnterKeyEndsAtOnceOnTheStylusGoingDown) {
    std::int32_t score = 2000;
    for (int enterKey : {kKeyIndexEnter3, kKeyIndexEnter4}) {
        platform::script::reset();
        typeKeys({kKeyIndexA}, 100);
        press(keyX(enterKey), keyY(enterKey), 150);
        release(keyX(enterKey), keyY(enterKey), 5000);
        enterHighScore(score);
        EXPECT_EQ(platform::script::now(), 160u);
        EXPECT_EQ(platform::script::pendingEvents(), 1u);  // the lift is still to come
        EXPECT_STREQ(settings.highScoreNames[0], "a");
        EXPECT_EQ(settings.highScores[0], score);
        score += 1000;
    }
    EXPECT_EQ(settings.highScores[2], 1000);
}

TEST_F(NameEntryScenario, EmptyNameIsStoredEmptyWithTheScore) {
    tap(kOkX, kOkY, 100);
    enterHighScore(250);
    EXPECT_STREQ(settings.highScoreNames[3], "");
    EXPECT_EQ(settings.highScores[3], 250);
    EXPECT_STREQ(settings.highScoreNames[4], "dee");
    EXPECT_EQ(fileBytes()[6 + 30 * 3], '\0');
}

TEST_F(NameEntryScenario, MovingOffTheKeyCancelsItAndMovingBackRestoresIt) {
    const int ax = keyX(kKeyIndexA), ay = keyY(kKeyIndexA);
    press(ax, ay, 100);
    moveTo(ax + 30, ay, 120);
    release(ax + 30, ay, 140);
    press(ax, ay, 200);
    moveTo(ax, ay - 30, 220);
    moveTo(ax + 5, ay + 3, 240);
    release(ax + 60, ay, 260);  // where it is lifted does not matter
    typeKeys({kKeyIndexEnter4}, 300);
    enterHighScore(5000);
    expectNotTimedOut();
    EXPECT_STREQ(settings.highScoreNames[0], "a");
}

TEST_F(NameEntryScenario, QuitRequestEndsTheEntryAndTheTableIsSaved) {
    typeKeys({kKeyIndexQ, kKeyIndexA});
    platform::script::quit(300);
    enterHighScore(900);
    EXPECT_EQ(platform::script::pendingEvents(), 0u);
    EXPECT_EQ(platform::script::now(), 310u);
    EXPECT_STREQ(settings.highScoreNames[1], "qa");
    const std::string bytes = fileBytes();
    ASSERT_EQ(bytes.size(), kSettingsFileSize);
    EXPECT_EQ(std::string(bytes.c_str() + 36), "qa");
    EXPECT_EQ(scoreInFile(bytes, 1), 900);
}

TEST_F(NameEntryScenario, QuitRequestWhileAKeyIsHeldLetsItGoUntypedAndEndsTheEntry) {
    typeKeys({kKeyIndexQ});
    press(keyX(kKeyIndexA), keyY(kKeyIndexA), 200);
    platform::script::quit(250);
    release(keyX(kKeyIndexA), keyY(kKeyIndexA), 300);
    enterHighScore(900);
    EXPECT_LT(platform::script::now(), 300u);
    EXPECT_STREQ(settings.highScoreNames[1], "q");
    EXPECT_EQ(scoreInFile(fileBytes(), 1), 900);
}

TEST_F(NameEntryScenario, HeldKeyShowsThePushedPictureUntilLifted) {
    std::vector<std::pair<std::uint32_t, Rgb>> seen;
    const int ax = keyX(kKeyIndexA), ay = keyY(kKeyIndexA);
    platform::script::setIdleHook([&] { seen.emplace_back(platform::script::now(), screenPixel(ax, ay)); });
    press(ax, ay, 105);
    moveTo(ax + 30, ay, 205);
    moveTo(ax, ay, 305);
    release(ax, ay, 405);
    tap(kOkX, kOkY, 500);
    enterHighScore(900);
    platform::script::setIdleHook(nullptr);

    auto lastBefore = [&](std::uint32_t t) {
        Rgb last{-1, -1, -1};
        for (const auto& [when, colour] : seen) {
            if (when < t) last = colour;
        }
        return last;
    };
    EXPECT_EQ(lastBefore(105), kSmallColour);
    EXPECT_EQ(lastBefore(205), kSmallPushedColour);
    EXPECT_EQ(lastBefore(305), kSmallColour);
    EXPECT_EQ(lastBefore(405), kSmallPushedColour);
    EXPECT_EQ(screenPixel(ax, ay), kSmallColour);
    EXPECT_STREQ(settings.highScoreNames[1], "a");
}

TEST_F(NameEntryScenario, KeyboardPictureFollowsTheCase) {
    std::vector<Rgb> pushed;
    const int ax = keyX(kKeyIndexA), ay = keyY(kKeyIndexA);
    platform::script::setIdleHook([&] { pushed.push_back(screenPixel(ax, ay)); });
    press(keyX(kKeyIndexCaps), keyY(kKeyIndexCaps), 100);
    release(keyX(kKeyIndexCaps), keyY(kKeyIndexCaps), 110);
    press(ax, ay, 200);
    release(ax, ay, 300);
    tap(kOkX, kOkY, 400);
    enterHighScore(900);
    platform::script::setIdleHook(nullptr);
    EXPECT_NE(std::find(pushed.begin(), pushed.end(), kLargePushedColour), pushed.end());
    EXPECT_EQ(keyboardPixel(), kLargeColour);
    EXPECT_EQ(screenPixel(ax, ay), kLargeColour);
    EXPECT_STREQ(settings.highScoreNames[1], "A");
}

TEST_F(NameEntryScenario, MissesTypeNothingAndKeepAPendingShift) {
    std::uint32_t at = typeKeys({kKeyIndexShift});
    const std::pair<int, int> misses[] = {{120, 100},             // above the keyboard
                                          {60, 86 + 22 * 1 + 5},  // the edit box
                                          {0, keyY(kKeyIndexA)},  // the keyboard's left column
                                          {100, kKeyboardTop},    // its top row
                                          {100, kKeyboardTop + 51}};
    for (const auto& [x, y] : misses) {
        tap(x, y, at);
        at += 50;
    }
    at = typeKeys({kKeyIndexA, kKeyIndexA}, at);
    tap(kOkX, kOkY, at);
    std::vector<std::pair<std::uint32_t, Rgb>> keyboard;
    platform::script::setIdleHook([&] { keyboard.emplace_back(platform::script::now(), keyboardPixel()); });
    enterHighScore(900);
    platform::script::setIdleHook(nullptr);
    EXPECT_STREQ(settings.highScoreNames[1], "Aa");
    // Large from the Shift (taken at 100) up to the first a (400), through every miss.
    int large = 0;
    for (const auto& [when, colour] : keyboard) {
        if (when <= 100) {
            EXPECT_EQ(colour, kSmallColour) << when;
        } else if (when <= 400) {
            EXPECT_EQ(colour, kLargeColour) << when;
            ++large;
        }
    }
    EXPECT_GT(large, 20);
    EXPECT_EQ(keyboardPixel(), kSmallColour);
}

TEST_F(NameEntryScenario, OkAcceptsAnyButtonOtherButtonsTypeNothing) {
    tap(keyX(kKeyIndexA), keyY(kKeyIndexA), 100, SDL_BUTTON_RIGHT);
    tap(keyX(kKeyIndexEnter4), keyY(kKeyIndexEnter4), 150, SDL_BUTTON_MIDDLE);
    tap(kOkX, kOkY, 200, SDL_BUTTON_RIGHT);
    enterHighScore(900);
    EXPECT_EQ(platform::script::now(), 210u);
    EXPECT_STREQ(settings.highScoreNames[1], "");
    EXPECT_EQ(settings.highScores[1], 900);
}

TEST_F(NameEntryScenario, OkButtonEdgesFollowTheHotSpotRule) {
    tap(81, 219, 100);  // right edge: outside, and above the keyboard
    tap(58, 229, 150);  // bottom edge: outside
    tap(36, 209, 200);  // top-left corner: inside
    enterHighScore(900);
    EXPECT_EQ(platform::script::now(), 210u);
}

TEST_F(NameEntryScenario, CaseAndPendingShiftOutliveTheEntry) {
    typeKeys({kKeyIndexShift});
    tap(kOkX, kOkY, 200);
    enterHighScore(900);
    EXPECT_EQ(keyboardCase(), 1);
    EXPECT_TRUE(keyboardShiftPending());

    typeKeys({kKeyIndexA, kKeyIndexA}, platform::script::now() + 100);
    tap(kOkX, kOkY, platform::script::now() + 300);
    enterHighScore(950);
    EXPECT_STREQ(settings.highScoreNames[1], "Aa");
    EXPECT_STREQ(settings.highScoreNames[2], "");
}

TEST_F(NameEntryScenario, ElevenCharactersKeepTheFirstTen) {
    std::vector<int> keys(10, kKeyIndexA);
    keys.push_back(kKeyIndexQ);
    tap(kOkX, kOkY, typeKeys(keys));
    enterHighScore(900);
    EXPECT_STREQ(settings.highScoreNames[1], "aaaaaaaaaa");
    EXPECT_STREQ(settings.highScoreNames[2], "bob");
}

TEST_F(NameEntryScenario, EveryPassSleepsTenMilliseconds) {
    tap(kOkX, kOkY, 1000);
    enterHighScore(900);
    EXPECT_EQ(platform::script::delayedTotal(), 1010u);
}

}  // namespace
