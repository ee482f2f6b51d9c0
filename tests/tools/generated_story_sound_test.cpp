// The generated story fills exactly the help screen's two pages in the generated fonts, its pictures
// load, and the four sounds are short, audible and unclipped.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "assetgen/story_layout.h"
#include "generated_data.h"

namespace tooltest {
namespace {

const story::Area kHelpArea{19, 60, 205, 190};

story::FontMetrics metricsOf(int slot) {
    const pack::RawImage& font = slotImage(slot);
    std::vector<std::uint32_t> row;
    for (int x = 0; x < font.width; ++x) row.push_back(raw565(font, x, 0));
    return story::metricsFromMarkerRow(row, font.height);
}

// The story names its pictures relative to the program folder, which holds the data folder.
std::string programFile(const std::string& relative) {
    return (std::filesystem::path(KORVEX_DATA_DIR).parent_path() / relative).string();
}

int pictureHeight(const std::string& path) {
    SDL_Surface* picture = SDL_LoadBMP(programFile(path).c_str());
    if (!picture) return -1;
    const int height = picture->h;
    SDL_FreeSurface(picture);
    return height;
}

std::vector<std::string> picturePaths(const std::string& text) {
    std::vector<std::string> paths;
    for (std::size_t at = text.find("<IMAGE>"); at != std::string::npos; at = text.find("<IMAGE>", at + 1)) {
        const std::size_t start = at + 7;
        paths.push_back(text.substr(start, text.find('<', start) - start));
    }
    return paths;
}

int count(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST(GeneratedStory, HasBoldPassagesAndPicturesThatLoad) {
    const std::string text = readFile(dataFile("story"));
    ASSERT_FALSE(text.empty());
    EXPECT_GE(count(text, "<BOLD>"), 1);
    EXPECT_EQ(count(text, "<BOLD>"), count(text, "</BOLD>"));
    const std::vector<std::string> paths = picturePaths(text);
    ASSERT_GE(paths.size(), 1u);
    for (const std::string& path : paths) {
        SDL_Surface* picture = SDL_LoadBMP(programFile(path).c_str());
        ASSERT_NE(picture, nullptr) << path << ": " << SDL_GetError();
        EXPECT_LE(picture->w, kHelpArea.width) << path;
        SDL_FreeSurface(picture);
    }
    for (unsigned char c : text) EXPECT_TRUE(c == '\n' || (c >= 32 && c < 127)) << "byte " << int(c);
}

TEST(GeneratedStory, FillsExactlyTheTwoPagesOfTheHelpScreen) {
    const std::string text = readFile(dataFile("story"));
    const story::FontMetrics fonts[2] = {metricsOf(kFont), metricsOf(kFontBold)};
    ASSERT_EQ(fonts[0].height, slotImage(kFont).height);
    const story::Pagination pages = story::paginate(text, fonts, kHelpArea, pictureHeight);
    ASSERT_EQ(pages.problem, "");
    ASSERT_EQ(pages.pageStarts.size(), 2u) << "the help screen pages forward to its second page only";
    // The second page is drawn in the font the first one ended in, and all of it must fit.
    const std::string firstPage = text.substr(0, pages.pageStarts[1]);
    const int slot = count(firstPage, "<BOLD>") > count(firstPage, "</BOLD>") ? 1 : 0;
    EXPECT_TRUE(story::drawingReachesEnd(text, pages.pageStarts[1], slot, fonts, kHelpArea, pictureHeight));
}

struct Wave {
    int channels = 0, rate = 0, bits = 0;
    std::vector<std::int16_t> samples;
};

Wave readWave(const std::string& path) {
    const std::string bytes = readFile(path);
    Wave wave;
    auto u32 = [&](std::size_t at) {
        return std::uint32_t(std::uint8_t(bytes[at])) | std::uint32_t(std::uint8_t(bytes[at + 1])) << 8 |
               std::uint32_t(std::uint8_t(bytes[at + 2])) << 16 |
               std::uint32_t(std::uint8_t(bytes[at + 3])) << 24;
    };
    if (bytes.size() < 44 || bytes.compare(0, 4, "RIFF") || bytes.compare(8, 8, "WAVEfmt ")) return wave;
    wave.channels = static_cast<int>(u32(22) & 0xFFFF);
    wave.rate = static_cast<int>(u32(24));
    wave.bits = static_cast<int>(u32(34) & 0xFFFF);
    const std::size_t dataBytes = std::min<std::size_t>(u32(40), bytes.size() - 44);
    wave.samples.resize(dataBytes / 2);
    std::memcpy(wave.samples.data(), bytes.data() + 44, wave.samples.size() * 2);
    return wave;
}

TEST(GeneratedSounds, AreShortAudibleUnclippedMonoWaves) {
    for (int n = 0; n < 4; ++n) {
        const Wave wave = readWave(dataFile(std::to_string(n) + ".wav"));
        ASSERT_EQ(wave.channels, 1) << n;
        EXPECT_EQ(wave.rate, 22050) << n;
        EXPECT_EQ(wave.bits, 16) << n;
        const double seconds = double(wave.samples.size()) / wave.rate;
        EXPECT_GE(seconds, 0.05) << n;
        EXPECT_LE(seconds, 0.6) << n;
        int peak = 0;
        for (std::int16_t s : wave.samples) peak = std::max(peak, std::abs(int(s)));
        EXPECT_GE(peak, 16000) << n;
        EXPECT_LT(peak, 32000) << n;
        EXPECT_LE(std::abs(int(wave.samples.back())), 200) << n << ": the sound must end without a click";
    }
}

}  // namespace
}  // namespace tooltest
