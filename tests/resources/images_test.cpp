// The image table: 39 slots from the main pack, colour keys, and the blit and pixel primitives.
#include "resources/images.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <vector>

#include "resources/pack_format.h"
#include "support/test_support.h"

using testing_support::Rgb;

namespace {

// A 4 x 6 picture in one 16-bit colour, with (0, 5) in another (font_white.bmp's key pixel).
std::vector<std::uint8_t> picture(std::uint16_t colour, std::uint16_t corner) {
    std::vector<std::uint8_t> pixels;
    for (int i = 0; i < 24; ++i) {
        const std::uint16_t c = i == 20 ? corner : colour;
        pixels.push_back(static_cast<std::uint8_t>(c));
        pixels.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return pixels;
}

class ImageTableTest : public testing_support::SdlTest {
  protected:
    void writeMainPack(int count) {
        std::vector<std::vector<std::uint8_t>> pixels;
        for (int i = 0; i < count; ++i)
            pixels.push_back(picture(static_cast<std::uint16_t>(i * 1000), 0x1234));
        std::vector<std::uint8_t> bytes;
        pack::appendCount(&bytes, count);
        for (int i = 0; i < count; ++i) {
            pack::RawImage image;
            image.width = 4;
            image.height = 6;
            image.pitch = 8;
            image.bitsPerPixel = 16;
            image.rMask = 0xF800;
            image.gMask = 0x07E0;
            image.bMask = 0x001F;
            image.pixels = pixels[i].data();
            pack::appendImage(&bytes, image);
        }
        gzFile file = gzopen((folder_ + "data/1.pak").c_str(), "wb");
        gzwrite(file, bytes.data(), static_cast<unsigned>(bytes.size()));
        gzclose(file);
    }
};

}  // namespace

TEST_F(ImageTableTest, FillsEverySlotAndKeysTheSpritesAndFonts) {
    writeMainPack(kImageCount);
    std::string error;
    ASSERT_TRUE(loadImages(&error)) << error;
    for (int slot = 0; slot < kImageCount; ++slot) {
        ASSERT_NE(images[slot], nullptr) << slot;
        EXPECT_EQ(readPixel(images[slot], 1, 1), static_cast<std::uint32_t>(slot * 1000 & 0xFFFF)) << slot;
    }
    const ImageSlot blackKeyed[] = {kExplosion, kGameOver, kEnemy11,       kEnemy21, kEnemy31,
                                    kPlayer1,   kStart,    kGiftLauncher1, kButRadio};
    for (ImageSlot slot : blackKeyed) {
        EXPECT_TRUE(images[slot]->flags & SDL_SRCCOLORKEY) << slot;
        EXPECT_EQ(images[slot]->format->colorkey, 0u) << slot;
    }
    EXPECT_EQ(images[kFont]->format->colorkey, SDL_MapRGB(images[kFont]->format, 156, 156, 156));
    EXPECT_EQ(images[kFontBold]->format->colorkey, SDL_MapRGB(images[kFontBold]->format, 128, 128, 128));
    EXPECT_EQ(images[kFontWhite]->format->colorkey, 0x1234u);
    EXPECT_FALSE(images[kGameBackground]->flags & SDL_SRCCOLORKEY);
    EXPECT_FALSE(images[kBrick]->flags & SDL_SRCCOLORKEY);
}

TEST_F(ImageTableTest, APackWithTooFewImagesIsRefusedByNameAndTheTableLoadedBeforeStays) {
    writeMainPack(kImageCount);
    std::string error;
    ASSERT_TRUE(loadImages(&error)) << error;
    SDL_Surface* before[kImageCount];
    for (int slot = 0; slot < kImageCount; ++slot) {
        before[slot] = images[slot];
        ++before[slot]->refcount;  // held here too, so that a surface the table lost shows as one fewer
    }
    writeMainPack(38);
    EXPECT_FALSE(loadImages(&error));
    EXPECT_EQ(error, "Cannot load " + folder_ + "data/1.pak: it holds 38 images, the game needs 39.");
    for (int slot = 0; slot < kImageCount; ++slot) {
        EXPECT_EQ(images[slot], before[slot]) << slot;
        EXPECT_EQ(before[slot]->refcount, 2) << "slot " << slot << " was freed under the table";
        SDL_FreeSurface(before[slot]);
    }
}

TEST_F(ImageTableTest, KeyedPixelsAreLeftOutOfBlits) {
    SDL_Surface* font = testing_support::makeSurface(3, 1, {255, 255, 255});
    SDL_Surface* field = testing_support::makeSurface(240, 320, {0, 0, 255});
    blitImage(field, 0, 0);
    const Uint32 key = readPixel(font, 0, 0);
    SDL_SetColorKey(font, SDL_SRCCOLORKEY, key);
    blitImage(font, 5, 5);
    EXPECT_EQ(screenPixel(5, 5), (Rgb{0, 0, 255}));
    SDL_FreeSurface(font);
    SDL_FreeSurface(field);
}

TEST_F(ImageTableTest, ReadPixelAnswersOnlyInsideTheSurface) {
    SDL_Surface* s = testing_support::makeSurface(7, 5, {0, 255, 0});
    const Uint32 last = SDL_MapRGB(s->format, 255, 0, 0);
    SDL_Rect corner = {6, 4, 1, 1};
    SDL_FillRect(s, &corner, last);
    EXPECT_EQ(readPixel(s, 6, 4), last);
    EXPECT_EQ(readPixel(s, 0, 0), SDL_MapRGB(s->format, 0, 255, 0));
    EXPECT_EQ(readPixel(s, 7, 0), 0xFFFFFFFFu);
    EXPECT_EQ(readPixel(s, 0, 5), 0xFFFFFFFFu);
    EXPECT_EQ(readPixel(s, -1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(readPixel(s, 0, -1), 0xFFFFFFFFu);
    EXPECT_EQ(readPixel(nullptr, 0, 0), 0xFFFFFFFFu);
    SDL_FreeSurface(s);
}

TEST_F(ImageTableTest, BlitsAreClippedToTheScreenAndTheSourceRectangle) {
    SDL_FillRect(screen_, nullptr, 0);
    // A 20-wide picture: left half red, right half green.
    SDL_Surface* s = testing_support::makeSurface(20, 4, {255, 0, 0});
    SDL_Rect right = {10, 0, 10, 4};
    SDL_FillRect(s, &right, SDL_MapRGB(s->format, 0, 255, 0));

    blitImage(s, -10, 0);  // the ten leftmost (red) columns are cut off
    EXPECT_EQ(screenPixel(0, 0), (Rgb{0, 255, 0}));
    EXPECT_EQ(screenPixel(9, 3), (Rgb{0, 255, 0}));
    EXPECT_EQ(screenPixel(10, 0), (Rgb{0, 0, 0}));

    SDL_FillRect(screen_, nullptr, 0);
    blitImagePart(s, 100, 100, 50, 50, 15, 2);  // reaches beyond the picture: only 5 x 2 drawn
    EXPECT_EQ(screenPixel(100, 100), (Rgb{0, 255, 0}));
    EXPECT_EQ(screenPixel(104, 101), (Rgb{0, 255, 0}));
    EXPECT_EQ(screenPixel(105, 100), (Rgb{0, 0, 0}));
    EXPECT_EQ(screenPixel(100, 102), (Rgb{0, 0, 0}));

    blitImage(s, 300, 400);  // wholly outside: nothing drawn, nothing broken
    SDL_FreeSurface(s);
}
