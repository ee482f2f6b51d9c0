// The platform seam: path building, the hot-spot rule, the headless clock and event script,
// and sound decoding.
#include "platform/platform.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/platform_detail.h"
#include "platform/script/script.h"
#include "support/test_support.h"

using namespace platform;

TEST(JoinPath, NormalisesWindowsStyleNamesToSingleSlashes) {
    EXPECT_EQ(joinPath("/games/space/", "\\data\\0.pak"), "/games/space/data/0.pak");
    EXPECT_EQ(joinPath("/games/space/", "//data//1.pak"), "/games/space/data/1.pak");
    EXPECT_EQ(joinPath("/games/space/", "\\data\\1.wav"), "/games/space/data/1.wav");
    EXPECT_EQ(joinPath("/games/space/", "data/story1.bmp"), "/games/space/data/story1.bmp");
    // The folder itself is kept as it is; only the appended name is normalised.
    EXPECT_EQ(joinPath("/odd\\folder/", "\\x"), "/odd\\folder/x");
}

// Replays depend on the generator's sequence: it must be the one the C library here has always given.
TEST(Random, SameSequenceAsTheCLibraryForSeedsOfEveryKind) {
    for (std::uint32_t seed : {0u, 1u, 12345u, 0x7fffffffu, 0x80000000u, 0xdeadbeefu, 0xffffffffu}) {
        std::srand(seed);
        seedRandom(seed);
        for (int i = 0; i < 400; ++i) {
            ASSERT_EQ(nextRandom(), std::rand()) << "seed " << seed << " draw " << i;
        }
    }
}

TEST(PtInRect, LeftAndTopInsideRightAndBottomOutside) {
    const Rect r{94, 273, 143, 293};
    EXPECT_TRUE(ptInRect(r, 94, 273));
    EXPECT_TRUE(ptInRect(r, 142, 292));
    EXPECT_FALSE(ptInRect(r, 143, 280));
    EXPECT_FALSE(ptInRect(r, 100, 293));
    EXPECT_FALSE(ptInRect(r, 93, 280));
    EXPECT_FALSE(ptInRect(r, 100, 272));
}

class ScriptTest : public ::testing::Test {
  protected:
    void SetUp() override { script::reset(); }
};

TEST_F(ScriptTest, DelayAdvancesTheVirtualClockOnly) {
    EXPECT_EQ(ticks(), 0u);
    delay(50);
    delay(1000);
    EXPECT_EQ(ticks(), 1050u);
    EXPECT_EQ(script::delayedTotal(), 1050u);
}

TEST_F(ScriptTest, TimedEventsWaitForTheirTimeAndKeepTheirOrder) {
    script::keyDown(SDLK_LEFT, 100);
    script::tap(10, 20);
    SDL_Event e;
    ASSERT_EQ(pollEvent(&e), 1);
    EXPECT_EQ(e.type, SDL_MOUSEBUTTONDOWN);
    ASSERT_EQ(pollEvent(&e), 1);
    EXPECT_EQ(e.type, SDL_MOUSEBUTTONUP);
    EXPECT_EQ(pollEvent(&e), 0);  // the key event is not due yet
    EXPECT_EQ(keyState()[SDLK_LEFT], 0);
    ASSERT_EQ(waitEvent(&e), 1);  // waiting jumps to it
    EXPECT_EQ(ticks(), 100u);
    EXPECT_EQ(e.type, SDL_KEYDOWN);
    EXPECT_EQ(keyState()[SDLK_LEFT], 1);
    script::keyUp(SDLK_LEFT);
    ASSERT_EQ(pollEvent(&e), 1);
    EXPECT_EQ(keyState()[SDLK_LEFT], 0);
}

TEST_F(ScriptTest, WaitingOnAnEmptyScriptEndsWithAQuitAtTheTimeLimit) {
    script::setTimeLimit(5000);
    SDL_Event e;
    ASSERT_EQ(waitEvent(&e), 1);
    EXPECT_EQ(e.type, SDL_QUIT);
    EXPECT_TRUE(script::timeLimitHit());
    EXPECT_EQ(ticks(), 5000u);
}

// What a pause holds back, of every kind it holds: two sources each, the first moved twice. Only the
// latest event of a source comes out after the pause, in the order of the latest.
TEST_F(ScriptTest, APauseHoldsBackTheLatestEventOfEachSource) {
    const auto make = [](Uint8 type, int source, int value) {
        SDL_Event e{};
        e.type = type;
        if (type == SDL_KEYUP) e.key.keysym.sym = source ? SDLK_b : SDLK_a;
        if (type == SDL_JOYAXISMOTION)
            e.jaxis = {type, 0, static_cast<Uint8>(source), static_cast<Sint16>(value)};
        if (type == SDL_JOYHATMOTION)
            e.jhat = {type, 0, static_cast<Uint8>(source), static_cast<Uint8>(value)};
        if (type == SDL_JOYBUTTONUP) e.jbutton = {type, 0, static_cast<Uint8>(source), SDL_RELEASED};
        return e;
    };
    for (Uint8 type : {SDL_KEYUP, SDL_JOYAXISMOTION, SDL_JOYHATMOTION, SDL_JOYBUTTONUP}) {
        script::reset();
        beginPlay();
        script::keyDown(SDLK_p, 0);
        script::pushEvent(make(type, 0, 1), 10);
        script::pushEvent(make(type, 1, 2), 20);
        script::pushEvent(make(type, 0, 3), 30);
        script::tap(5, 5, 40);  // resumes
        SDL_Event e;
        for (int source : {1, 0}) {
            ASSERT_EQ(detail::pauseLayerEvent(&e, false), 1) << int(type);
            const SDL_Event want = make(type, source, source ? 2 : 3);
            EXPECT_EQ(std::memcmp(&e, &want, sizeof e), 0) << int(type) << " " << source;
        }
        EXPECT_EQ(detail::pauseLayerEvent(&e, false), 0) << int(type);
        endPlay();
    }
}

TEST_F(ScriptTest, IdleHookCanReactToTheGame) {
    int calls = 0;
    script::setIdleHook([&] {
        if (++calls == 2) script::tap(1, 2);
    });
    SDL_Event e;
    delay(10);  // first call: nothing queued
    ASSERT_EQ(waitEvent(&e), 1);
    EXPECT_EQ(e.type, SDL_MOUSEBUTTONDOWN);
    EXPECT_EQ(calls, 2);
}

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

namespace {
// An 8-bit 11025 Hz mono square wave of `samples` samples as a ".wav" file.
std::string squareWav(int samples) {
    std::string wav = "RIFF";
    auto le = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) wav += static_cast<char>(v >> (8 * i));
    };
    le(36 + samples, 4);
    wav += "WAVEfmt ";
    le(16, 4);  // the format: PCM, one channel, 11025 samples (bytes) a second, 1 byte of 8 bits each
    le(1, 2);
    le(1, 2);
    le(11025, 4);
    le(11025, 4);
    le(1, 2);
    le(8, 2);
    wav += "data";
    le(samples, 4);
    for (int i = 0; i < samples; ++i) wav += static_cast<char>(128 + (i % 20 < 10 ? 40 : -40));
    return wav;
}
}  // namespace

TEST(Sound, AMissingFileDecodesToNothingAndAValidOneIsConverted) {
    SDL_AudioSpec device{};
    device.freq = 22050;
    device.format = AUDIO_S16SYS;
    device.channels = 1;
    EXPECT_TRUE(detail::loadWavAs("/nonexistent/0.wav", device).empty());

    // A 0.1 s 8-bit 11025 Hz wave, converted to 16-bit 22050 Hz: four times the bytes.
    const testing_support::ScratchFolder scratch;
    const std::string& folder = scratch.path;
    const int samples = 1103;
    testing_support::writeFile(folder + "/tone.wav", squareWav(samples));
    const std::string pcm = detail::loadWavAs(folder + "/tone.wav", device);
    EXPECT_NEAR(static_cast<double>(pcm.size()), samples * 4.0, 8.0);
    testing_support::writeFile(folder + "/bad.wav", "RIFF garbage");
    EXPECT_TRUE(detail::loadWavAs(folder + "/bad.wav", device).empty());
}

// On SDL's dummy device, which takes a buffer's time for each buffer as a real one does.
TEST(Sound, TheDeviceIsOpenFromASoundUntilItHasPlayedOut) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const testing_support::ScratchFolder scratch;
    const std::string tone = scratch.path + "/tone.wav";
    testing_support::writeFile(tone, squareWav(11025 / 2));  // 0.5 s
    constexpr Uint32 kSoundMs = 500;
    detail::playWav(scratch.path + "/missing.wav");
    EXPECT_EQ(SDL_GetAudioStatus(), SDL_AUDIO_STOPPED) << "opened for a sound that cannot play";

    for (int round = 0; round < 2; ++round) {  // opened again after it was closed
        const Uint32 start = SDL_GetTicks();
        detail::playWav(tone);
        ASSERT_EQ(SDL_GetAudioStatus(), SDL_AUDIO_PLAYING) << round;
        int looks = 0;
        for (std::uint32_t wait; (wait = detail::settleSound()) != 0 && looks < 1000; ++looks)
            SDL_Delay(wait);
        EXPECT_EQ(SDL_GetAudioStatus(), SDL_AUDIO_STOPPED) << round;
        EXPECT_GE(SDL_GetTicks() - start, kSoundMs) << "closed before the sound had played";
        EXPECT_LT(looks, 20) << "the wait is not told when to look again";
    }
    detail::playWav(tone);
    detail::stopSound();
    EXPECT_EQ(SDL_GetAudioStatus(), SDL_AUDIO_STOPPED);
    SDL_Quit();
}
