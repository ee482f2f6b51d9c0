// The gamepad as the keys it becomes, in menus and in play, and the keys and buttons that answer
// a message box.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/script/script.h"
#include "support/test_support.h"

namespace {

namespace script = platform::script;
using platform::MessageAnswer;
using platform::MessageStyle;

class ControlsTest : public testing_support::SdlTest {};

// The key events the game receives, as "+name" for down and "-name" for up.
std::string keysReceived() {
    std::string keys;
    SDL_Event e;
    while (platform::pollEvent(&e)) {
        if (e.type != SDL_KEYDOWN && e.type != SDL_KEYUP) continue;
        keys += (e.type == SDL_KEYDOWN ? " +" : " -") + std::string(SDL_GetKeyName(e.key.keysym.sym));
    }
    return keys;
}

struct PadCase {
    const char* name;
    bool inPlay;
    std::function<void()> events;
    const char* keys;
};

void button(Uint8 b) {
    script::joyButton(b, true);
    script::joyButton(b, false);
}

const PadCase kPadCases[] = {
    {"hat in a menu", false, [] { script::joyHat(SDL_HAT_LEFTUP), script::joyHat(SDL_HAT_CENTERED); },
     " +left +up -left -up"},
    {"stick past the dead zone", false,
     [] {
         script::joyAxis(1, 12001), script::joyAxis(1, 12000), script::joyAxis(0, -12001),
             script::joyAxis(0, 0);
     },
     " +down -down +left -left"},
    {"stick inside the dead zone", false, [] { script::joyAxis(0, 12000), script::joyAxis(1, -12000); }, ""},
    {"hat and stick together", false,
     [] {
         script::joyHat(SDL_HAT_RIGHT), script::joyAxis(0, 30000), script::joyHat(0), script::joyAxis(0, 0);
     },
     " +right -right"},
    {"buttons in a menu", false, [] { button(0), button(1), button(7), button(2); },
     " +return -return +escape -escape +escape -escape"},
    {"buttons in play", true, [] { button(0), button(3), button(4), button(7); },
     " +left ctrl -left ctrl +left ctrl -left ctrl +escape -escape"},
    {"two fire buttons held", true,
     [] {
         script::joyButton(1, true), script::joyButton(2, true);
         script::joyButton(1, false), script::joyButton(2, false);
     },
     " +left ctrl -left ctrl"},
    {"the stick in play only moves", true, [] { script::joyHat(SDL_HAT_RIGHTUP), script::joyAxis(1, 30000); },
     " +right"},
};

TEST_F(ControlsTest, TheGamepadArrivesAsTheKeysOfMenusOrOfPlay) {
    for (const PadCase& c : kPadCases) {
        SCOPED_TRACE(c.name);
        script::reset();
        if (c.inPlay) platform::beginPlay();
        c.events();
        EXPECT_EQ(keysReceived(), c.keys);
        platform::endPlay();
    }
}

TEST_F(ControlsTest, AButtonHeldWhilePlayBeginsIsLetGoAsTheKeyItWentDownAs) {
    script::joyButton(0, true);
    script::joyHat(SDL_HAT_UP);
    EXPECT_EQ(keysReceived(), " +return +up");
    platform::beginPlay();  // up means fire in play: the stick's up is let go
    EXPECT_EQ(keysReceived(), " -up");
    script::joyButton(1, true);
    EXPECT_EQ(keysReceived(), " +left ctrl");
    EXPECT_EQ(platform::keyState()[SDLK_LCTRL], 1);
    script::joyButton(0, false);
    script::joyButton(1, false);
    EXPECT_EQ(keysReceived(), " -return -left ctrl");
    EXPECT_EQ(platform::keyState()[SDLK_LCTRL], 0);
    platform::endPlay();
}

int fixedWidth(const char* text) {
    return 6 * static_cast<int>(std::string(text).size());
}
void drawNothing(const char*, int, int) {}

struct AnswerCase {
    MessageStyle style;
    std::function<void()> input;
    MessageAnswer answer;
};

TEST_F(ControlsTest, MessageBoxesAreAnsweredWithYNEnterEscapeAndTheGamepad) {
    const auto keys = [](std::vector<SDLKey> ks) {
        return [ks] {
            for (SDLKey k : ks) script::keyDown(k), script::keyUp(k);
        };
    };
    const AnswerCase cases[] = {
        {MessageStyle::YesNo, keys({SDLK_y}), MessageAnswer::Yes},
        {MessageStyle::YesNo, keys({SDLK_RETURN}), MessageAnswer::Yes},
        {MessageStyle::YesNo, keys({SDLK_n}), MessageAnswer::No},
        {MessageStyle::YesNo, keys({SDLK_ESCAPE}), MessageAnswer::No},
        {MessageStyle::YesNo, keys({SDLK_SPACE, SDLK_a, SDLK_p, SDLK_y}), MessageAnswer::Yes},
        {MessageStyle::YesNo, [] { button(0); }, MessageAnswer::Yes},
        {MessageStyle::YesNo, [] { button(1); }, MessageAnswer::No},
        {MessageStyle::Ok, keys({SDLK_y, SDLK_n, SDLK_RETURN}), MessageAnswer::Ok},
        {MessageStyle::Ok, keys({SDLK_ESCAPE}), MessageAnswer::Ok},
    };
    platform::setMessagePainter(screen_, drawNothing, fixedWidth, 12);
    for (const AnswerCase& c : cases) {
        script::reset();
        c.input();
        script::quit(1);  // a box that ignored the keys ends here, answered as dismissed
        EXPECT_EQ(platform::messageBox(0, "Sure?", "Q", c.style), c.answer) << &c - cases;
        EXPECT_EQ(script::now(), 0u) << &c - cases << ": the keys did not answer";
    }
}

}  // namespace

TEST(PtInRect, LeftAndTopInsideRightAndBottomOutside) {
    const platform::Rect r{94, 273, 143, 293};
    EXPECT_TRUE(platform::ptInRect(r, 94, 273));
    EXPECT_TRUE(platform::ptInRect(r, 142, 292));
    EXPECT_FALSE(platform::ptInRect(r, 143, 280));
    EXPECT_FALSE(platform::ptInRect(r, 100, 293));
    EXPECT_FALSE(platform::ptInRect(r, 93, 280));
    EXPECT_FALSE(platform::ptInRect(r, 100, 272));
}
