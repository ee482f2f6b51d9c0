// A whole game with the generated art: new game from the menu, the last life lost, a name typed on
// the on-screen keyboard, the score in the 211-byte settings file, and the menu again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/world.h"
#include "persist/keyboard.h"
#include "persist/name_entry.h"
#include "persist/settings.h"
#include "resources/images.h"
#include "shell/game_flow.h"
#include "support/test_support.h"

namespace {

namespace script = platform::script;
using testing_support::pixelOf;
using testing_support::Rgb;

constexpr int kKeyA = 28, kKeyC = 43, kKeyE = 17, kKeySpace = 53, kKey7 = 7, kKeyShift = 40;
constexpr std::int32_t kFinalScore = 4321;
constexpr std::uint32_t kLoseAt = 2000;      // well inside the first level, after its banner
constexpr std::uint32_t kTypeFrom = 6000;    // after the 3 s game-over picture
constexpr std::uint32_t kHoldE = 200;        // how long the e key is held down
constexpr std::uint32_t kTimeLimit = 30000;  // a script that misses its way ends here

int keyX(int k) {
    return (kKeys[k].rect.left + kKeys[k].rect.right) / 2;
}
int keyY(int k) {
    return kKeyboardTop + (kKeys[k].rect.top + kKeys[k].rect.bottom) / 2;
}

class NameEntryJourney : public testing_support::SdlTest {
  protected:
    void SetUp() override {
        SdlTest::SetUp();
        loadGameImages();
        script::setTimeLimit(kTimeLimit);
    }
    // Queues the name "Ace 7" from kTypeFrom, the e key held for a while; returns the time after it.
    std::uint32_t scriptName() {
        std::uint32_t at = kTypeFrom;
        for (int key : {kKeyShift, kKeyA, kKeyC}) {
            script::tap(keyX(key), keyY(key), at);
            at += 100;
        }
        eDown_ = at;
        script::press(keyX(kKeyE), keyY(kKeyE), at);
        script::release(keyX(kKeyE), keyY(kKeyE), at + kHoldE);
        at += kHoldE + 100;
        for (int key : {kKeySpace, kKey7}) {
            script::tap(keyX(key), keyY(key), at);
            at += 100;
        }
        return at;
    }
    // Past the time limit a stuck script gets a lift and a quit at every wait, so it cannot hang.
    void unstickAfterTimeLimit() {
        if (!script::timeLimitHit()) return;
        script::release(0, 0, script::now());
        script::quit(script::now());
    }
    std::uint32_t eDown_ = 0;
};

TEST_F(NameEntryJourney, LostGameScoreIsTypedInAndStoredInTheFile) {
    script::tap(60, 45, 100);  // new game
    const std::uint32_t okAt = scriptName() + 200;
    script::tap(58, 219, okAt);        // OK
    script::tap(30, 190, okAt + 500);  // leave the program from the menu
    bool lost = false;
    Rgb heldPixel{-1, -1, -1};
    script::setIdleHook([&] {
        const std::uint32_t now = script::now();
        if (!lost && now >= kLoseAt) {
            lost = true;
            player.score = kFinalScore;
            player.lives = 0;
            gameOver = true;  // as the bomb that takes the last life leaves it
        }
        // The last wait inside the hold comes while the game tracks the pressed key.
        if (now >= eDown_ && now < eDown_ + kHoldE) {
            heldPixel = screenPixel(keyX(kKeyE), keyY(kKeyE));
            saveScreenshot("name_entry_key_held");
        }
        if (now >= okAt - 100 && now < okAt) saveScreenshot("name_entry_typed");
        unstickAfterTimeLimit();
    });
    runGameFlow(kGameSteps);
    script::setIdleHook(nullptr);

    EXPECT_FALSE(script::timeLimitHit());
    const int kx = keyX(kKeyE), ky = keyY(kKeyE) - kKeyboardTop;
    EXPECT_EQ(heldPixel, pixelOf(images[kKeyboardSmallPushed], kx, ky));
    EXPECT_NE(pixelOf(images[kKeyboardSmall], kx, ky), pixelOf(images[kKeyboardSmallPushed], kx, ky));

    EXPECT_STREQ(settings.highScoreNames[0], "Ace 7");
    EXPECT_EQ(settings.highScores[0], kFinalScore);
    const std::string bytes = testing_support::readFile(settingsPath());
    ASSERT_EQ(bytes.size(), kSettingsFileSize);
    EXPECT_EQ(bytes.substr(6, 6), std::string("Ace 7\0", 6));
    EXPECT_EQ(bytes.substr(156, 4), std::string("\xE1\x10\0\0", 4));  // 4321, little-endian
    EXPECT_EQ(bytes.substr(160, 16), std::string(16, '\0'));
}

}  // namespace
