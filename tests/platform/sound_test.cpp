// Sound: a ".wav" converted to the device's format, anything else to nothing; the device open only while
// a sound plays.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/platform_detail.h"
#include "support/test_support.h"

using namespace platform;

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
