// Image packs: the layout decoder never trusts the data, the reader turns every depth into
// display-format surfaces, and damaged packs end in a sentence naming the file and the problem.
#include <gtest/gtest.h>
#include <zlib.h>

#include <vector>

#include "resources/images.h"
#include "resources/pack_format.h"
#include "resources/pack_reader.h"
#include "support/test_support.h"

using testing_support::Rgb;

namespace {

pack::RawImage rawImage(int w, int h, int bpp, int pitch, const std::vector<std::uint8_t>& pixels,
                        std::uint32_t r = 0, std::uint32_t g = 0, std::uint32_t b = 0, std::uint32_t a = 0,
                        int alpha = 0) {
    pack::RawImage image;
    image.hasAlpha = alpha;
    image.width = w;
    image.height = h;
    image.pitch = static_cast<std::uint16_t>(pitch);
    image.bitsPerPixel = static_cast<std::uint8_t>(bpp);
    image.rMask = r;
    image.gMask = g;
    image.bMask = b;
    image.aMask = a;
    image.pixels = pixels.data();
    return image;
}

// A 2 x 1 16-bit picture: red, green.
std::vector<std::uint8_t> redGreen565() {
    return {0x00, 0xF8, 0xE0, 0x07};
}

std::vector<std::uint8_t> packOf(const std::vector<pack::RawImage>& list) {
    std::vector<std::uint8_t> out;
    pack::appendCount(&out, static_cast<std::int32_t>(list.size()));
    for (const auto& image : list) pack::appendImage(&out, image);
    return out;
}

void writeGzip(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    gzFile file = gzopen(path.c_str(), "wb9");
    gzwrite(file, bytes.data(), static_cast<unsigned>(bytes.size()));
    gzclose(file);
}

std::string decodeError(std::vector<std::uint8_t> bytes) {
    std::vector<pack::RawImage> images;
    std::string error;
    EXPECT_FALSE(pack::decode(bytes.data(), bytes.size(), &images, &error));
    return error;
}

}  // namespace

TEST(PackLayout, RejectsEverythingThatRunsPastTheDataOrMakesNoSense) {
    const auto pixels = redGreen565();
    const auto good = packOf({rawImage(2, 1, 16, 4, pixels, 0xF800, 0x07E0, 0x1F)});
    std::vector<pack::RawImage> images;
    std::string error;
    ASSERT_TRUE(pack::decode(good.data(), good.size(), &images, &error)) << error;
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].rMask, 0xF800u);

    EXPECT_EQ(decodeError({1, 0}), "no image count");
    EXPECT_NE(decodeError({0xFF, 0xFF, 0xFF, 0xFF}).find("negative"), std::string::npos);
    EXPECT_NE(decodeError(std::vector<std::uint8_t>(good.begin(), good.end() - 1)).find("inside its pixels"),
              std::string::npos);
    EXPECT_NE(
        decodeError(std::vector<std::uint8_t>(good.begin(), good.begin() + 20)).find("inside its header"),
        std::string::npos);
    // A count far beyond the data: stops at the first missing entry instead of allocating for it.
    auto huge = good;
    huge[3] = 0x7F;
    EXPECT_NE(decodeError(huge).find("image 1"), std::string::npos);

    EXPECT_NE(decodeError(packOf({rawImage(0, 1, 16, 4, pixels)})).find("bad size"), std::string::npos);
    EXPECT_NE(decodeError(packOf({rawImage(2, -1, 16, 4, pixels)})).find("bad size"), std::string::npos);
    EXPECT_NE(decodeError(packOf({rawImage(100000, 1, 16, 4, pixels)})).find("bad size"), std::string::npos);
    EXPECT_NE(decodeError(packOf({rawImage(2, 1, 7, 4, pixels)})).find("depth"), std::string::npos);
    EXPECT_NE(decodeError(packOf({rawImage(2, 1, 16, 3, pixels)})).find("row length"), std::string::npos);
    EXPECT_NE(decodeError(packOf({rawImage(2, 1, 16, 0, pixels)})).find("row length"), std::string::npos);
    // A 15-bit pixel fills 2 bytes: 64 of them need 128, not 120.
    const std::vector<std::uint8_t> rows(128);
    EXPECT_NE(decodeError(packOf({rawImage(64, 1, 15, 120, rows)})).find("row length"), std::string::npos);
    EXPECT_TRUE(pack::checkHeader(rawImage(64, 1, 15, 128, rows)).empty());
    EXPECT_TRUE(pack::checkHeader(rawImage(4096, 4096, 8, 4096, rows)).empty());  // the largest size
    EXPECT_FALSE(pack::checkHeader(rawImage(4096, 4097, 8, 4096, rows)).empty());
    EXPECT_FALSE(pack::checkHeader(rawImage(4097, 4096, 8, 4097, rows)).empty());
}

class PackReaderTest : public testing_support::SdlTest {
  protected:
    std::string packPath(const char* name) { return folder_ + "data/" + name + ".pak"; }
};

TEST_F(PackReaderTest, ConvertsEveryDepthAndKeepsPerPixelAlpha) {
    const auto p16 = redGreen565();
    // 24-bit blue, white; rows padded to 8 bytes: the padding must be skipped.
    const std::vector<std::uint8_t> p24 = {0xFF, 0,    0, 0xFF, 0xFF, 0xFF, 0xAA, 0xAA,
                                           0,    0xFF, 0, 0,    0,    0xFF, 0xAA, 0xAA};
    // 32-bit with alpha: an opaque yellow and a transparent pixel.
    const std::vector<std::uint8_t> p32 = {0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00};
    const std::vector<std::uint8_t> p15 = {0x00, 0x7C, 0x1F, 0x00};  // 15-bit red, blue
    const auto bytes = packOf({rawImage(2, 1, 16, 4, p16, 0xF800, 0x07E0, 0x001F),
                               rawImage(2, 2, 24, 8, p24, 0xFF0000, 0x00FF00, 0x0000FF),
                               rawImage(2, 1, 32, 8, p32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000, 1),
                               rawImage(2, 1, 15, 4, p15, 0x7C00, 0x03E0, 0x001F)});
    ImageList list;
    std::string error;
    ASSERT_TRUE(parsePack(list, bytes.data(), bytes.size(), &error)) << error;
    ASSERT_EQ(list.count, 4);
    SDL_Surface* s16 = getImage(list, 0);
    EXPECT_EQ(s16->format->BitsPerPixel, screen_->format->BitsPerPixel);
    EXPECT_EQ(testing_support::pixelOf(s16, 0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(testing_support::pixelOf(s16, 1, 0), (Rgb{0, 255, 0}));
    SDL_Surface* s24 = getImage(list, 1);
    EXPECT_EQ(testing_support::pixelOf(s24, 0, 0), (Rgb{0, 0, 255}));
    EXPECT_EQ(testing_support::pixelOf(s24, 0, 1), (Rgb{0, 255, 0}));
    EXPECT_EQ(testing_support::pixelOf(s24, 1, 1), (Rgb{255, 0, 0}));
    SDL_Surface* s32 = getImage(list, 2);
    EXPECT_NE(s32->format->Amask, 0u);
    EXPECT_TRUE(s32->flags & SDL_SRCALPHA);
    EXPECT_EQ(testing_support::pixelOf(getImage(list, 3), 0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(list.records[1]->pitch, 8);
    EXPECT_EQ(list.records[1]->pixels, nullptr);  // released once converted

    // Drawn over blue, the transparent pixel leaves the blue; an opaque image covers it.
    SDL_FillRect(screen_, nullptr, SDL_MapRGB(screen_->format, 0, 0, 255));
    blitImage(s32, 0, 0);
    EXPECT_EQ(screenPixel(0, 0), (Rgb{255, 255, 0}));
    EXPECT_EQ(screenPixel(1, 0), (Rgb{0, 0, 255}));
    freeImages(list);
    EXPECT_EQ(list.count, 0);
}

TEST_F(PackReaderTest, AnEmptyPackGivesAnEmptyList) {
    writeGzip(packPath("0"), packOf({}));
    ImageList list;
    std::string error;
    EXPECT_TRUE(readPack(packReader(), list, kSplashPackName, kSplashPackCapacity, &error)) << error;
    EXPECT_EQ(list.count, 0);
}

// As zlib's own file reading takes them: a file that is no gzip at all, and gzip members one after another.
TEST_F(PackReaderTest, AnUncompressedOrSplitPackReadsTheSameAsItsGzipForm) {
    const auto pixels = redGreen565();
    const auto bytes = packOf({rawImage(2, 1, 16, 4, pixels, 0xF800, 0x07E0, 0x1F)});
    writeGzip(packPath("0"), bytes);
    const std::string plainPath = packPath("1");
    testing_support::writeFile(plainPath, std::string(bytes.begin(), bytes.end()));
    const std::size_t half = bytes.size() / 2;
    writeGzip(packPath("2"), {bytes.begin(), bytes.begin() + half});
    writeGzip(packPath("3"), {bytes.begin() + half, bytes.end()});
    testing_support::writeFile(packPath("4"), testing_support::readFile(packPath("2")) +
                                                  testing_support::readFile(packPath("3")) +
                                                  "trailing bytes");
    ImageList zipped, plain, split;
    std::string error;
    ASSERT_TRUE(readPack(packReader(), zipped, kSplashPackName, kSplashPackCapacity, &error)) << error;
    ASSERT_TRUE(readPackFile(packReader(), plain, plainPath, kMainPackCapacity, &error)) << error;
    ASSERT_TRUE(readPackFile(packReader(), split, packPath("4"), kMainPackCapacity, &error)) << error;
    ASSERT_EQ(plain.count, 1);
    ASSERT_EQ(split.count, 1);
    EXPECT_EQ(readPixel(getImage(plain, 0), 1, 0), readPixel(getImage(zipped, 0), 1, 0));
    EXPECT_EQ(readPixel(getImage(split, 0), 1, 0), readPixel(getImage(zipped, 0), 1, 0));
}

TEST_F(PackReaderTest, DamagedPacksEndWithASentenceNamingTheFileAndTheProblem) {
    ImageList list;
    std::string error;
    const PackReader& reader = packReader();
    EXPECT_FALSE(readPack(reader, list, kSplashPackName, kSplashPackCapacity, &error));
    EXPECT_EQ(error, "Cannot open " + folder_ + "data/0.pak: the file is missing or unreadable.");

    const auto pixels = redGreen565();
    auto bytes = packOf({rawImage(2, 1, 16, 4, pixels, 0xF800, 0x07E0, 0x1F)});
    writeGzip(packPath("0"), bytes);
    std::string gz = testing_support::readFile(packPath("0"));
    testing_support::writeFile(packPath("0"), gz.substr(0, gz.size() - 12));  // cut inside the stream
    EXPECT_FALSE(readPack(reader, list, kSplashPackName, kSplashPackCapacity, &error));
    EXPECT_NE(error.find("0.pak: it is damaged"), std::string::npos) << error;

    gz[gz.size() / 2] ^= 0x5A;  // a flipped byte: the checksum or the inflater notices
    testing_support::writeFile(packPath("0"), gz);
    EXPECT_FALSE(readPack(reader, list, kSplashPackName, kSplashPackCapacity, &error));
    EXPECT_NE(error.find("damaged"), std::string::npos) << error;

    writeGzip(packPath("0"), bytes);
    EXPECT_FALSE(readPack(reader, list, kSplashPackName, bytes.size() - 1, &error));
    EXPECT_NE(error.find("holds more than"), std::string::npos) << error;
    EXPECT_TRUE(readPack(reader, list, kSplashPackName, bytes.size(), &error)) << error;

    bytes[4 + 4] = 0;  // width 0
    writeGzip(packPath("0"), bytes);
    EXPECT_FALSE(readPack(reader, list, kSplashPackName, kSplashPackCapacity, &error));
    EXPECT_NE(error.find("image 0: bad size"), std::string::npos) << error;
    ASSERT_EQ(list.count, 1);  // what the list held stays whole
    EXPECT_EQ(testing_support::pixelOf(getImage(list, 0), 1, 0), (Rgb{0, 255, 0}));
}

TEST_F(PackReaderTest, AReaderNotInReadModeReadsNothing) {
    PackReader writer(2);
    ImageList list;
    std::string error;
    EXPECT_TRUE(readPack(writer, list, kSplashPackName, kSplashPackCapacity, &error));
    EXPECT_EQ(list.count, 0);
}
