// Message boxes drawn in the game's window and answered with a tap; before the fonts, on standard error.
#include <SDL.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>

#include "platform/platform.h"
#include "platform/platform_detail.h"
#include "platform/script/script.h"
#include "support/test_support.h"

using namespace platform;

class MessageBoxTest : public testing_support::SdlTest {};

TEST_F(MessageBoxTest, WithoutAFontTheMessageGoesToStandardErrorAndAQuestionIsAnsweredNo) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(messageBox(0, "Do it?", "Question", MessageStyle::YesNo), MessageAnswer::No);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Question: Do it?\n");
    ASSERT_EQ(script::messages().size(), 1u);
    EXPECT_EQ(script::messages()[0].caption, "Question");
}

namespace {
int fixedWidth(const char* text) {
    return 6 * static_cast<int>(std::string(text).size());
}
int linesDrawn = 0;
void countLines(const char*, int, int) {
    ++linesDrawn;
}
}  // namespace

TEST_F(MessageBoxTest, InTheWindowItIsAnsweredByATapOnItsButtonAndTheScreenIsRestored) {
    SDL_FillRect(screen_, nullptr, SDL_MapRGB(screen_->format, 0, 0, 255));
    setMessagePainter(screen_, countLines, fixedWidth, 12);
    bool sawBox = false;
    script::setIdleHook([&] {
        if (!script::messageWaiting()) return;
        sawBox = screenPixel(120, 160) != testing_support::Rgb{0, 0, 255};
        const Rect no = script::messageButton(MessageAnswer::No);
        script::tap(no.left, no.top);  // the button's own corner is inside it
    });
    EXPECT_EQ(messageBox(7, "Do you really want to reset your high scores?", "Reset High Scores?",
                         MessageStyle::YesNo),
              MessageAnswer::No);
    EXPECT_TRUE(sawBox);
    EXPECT_GE(linesDrawn, 4);  // caption, the text wrapped to two lines at least, two buttons
    EXPECT_EQ(screenPixel(120, 160), (testing_support::Rgb{0, 0, 255}));
    EXPECT_EQ(script::messages().back().owner, 7u);
    EXPECT_FALSE(script::messageWaiting());
}

TEST_F(MessageBoxTest, AQuitClosesTheBoxAndIsSeenAgainByTheScreenBehindIt) {
    setMessagePainter(screen_, countLines, fixedWidth, 12);
    script::quit();
    EXPECT_EQ(messageBox(0, "Sure?", "Q", MessageStyle::YesNo), MessageAnswer::No);
    SDL_Event e;
    ASSERT_EQ(pollEvent(&e), 1);
    EXPECT_EQ(e.type, SDL_QUIT);
}

// SDL makes a quit of SIGTERM (and of the window's close) and queues it; with its queue full (a level
// reads one event a frame) the quit must still reach the game, and stay asked once it has.
TEST_F(MessageBoxTest, AQuitFromSdlComesThroughAFullQueueAndStaysAsked) {
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    while (SDL_PushEvent(&motion) == 0) {
    }
    std::raise(SIGTERM);
    SDL_PumpEvents();  // SDL 2 (under sdl12-compat) sends the quit of a signal when pumped
    for (int read = 0; read < 3; ++read) {
        SDL_Event e;
        ASSERT_EQ(pollEvent(&e), 1);
        EXPECT_EQ(e.type, SDL_QUIT) << read;
    }
    SDL_Event e;
    ASSERT_EQ(waitEvent(&e), 1);
    EXPECT_EQ(e.type, SDL_QUIT);

    // A quit already queued when the window opens (SDL 1.2 empties its queue as the filter is set).
    while (SDL_PollEvent(&e)) {
    }
    script::reset();
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
    detail::watchQuits();
    ASSERT_EQ(pollEvent(&e), 1);
    EXPECT_EQ(e.type, SDL_QUIT);
}

TEST_F(MessageBoxTest, TapsOutsideTheButtonsAreIgnored) {
    setMessagePainter(screen_, countLines, fixedWidth, 12);
    script::tap(2, 2);
    script::answerMessageBoxes(MessageAnswer::Yes);
    EXPECT_EQ(messageBox(0, "Sure?", "Q", MessageStyle::YesNo), MessageAnswer::Yes);
}
