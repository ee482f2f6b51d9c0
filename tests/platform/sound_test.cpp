// Sound decoding: a ".wav" converted to the device's format, anything else to nothing.
#include <gtest/gtest.h>

#include "platform/platform_detail.h"
#include "support/test_support.h"

using namespace platform;

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
    std::string wav = "RIFF";
    auto le32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) wav += static_cast<char>(v >> (8 * i));
    };
    auto le16 = [&](std::uint16_t v) {
        wav += static_cast<char>(v);
        wav += static_cast<char>(v >> 8);
    };
    le32(36 + samples);
    wav += "WAVEfmt ";
    le32(16);
    le16(1);
    le16(1);
    le32(11025);
    le32(11025);
    le16(1);
    le16(8);
    wav += "data";
    le32(samples);
    for (int i = 0; i < samples; ++i) wav += static_cast<char>(128 + (i % 20 < 10 ? 40 : -40));
    testing_support::writeFile(folder + "/tone.wav", wav);
    const std::string pcm = detail::loadWavAs(folder + "/tone.wav", device);
    EXPECT_NEAR(static_cast<double>(pcm.size()), samples * 4.0, 8.0);
    testing_support::writeFile(folder + "/bad.wav", "RIFF garbage");
    EXPECT_TRUE(detail::loadWavAs(folder + "/bad.wav", device).empty());
}
