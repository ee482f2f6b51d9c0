// The generated pictures fit what the game does with them: sizes, hot spots, keys and readable areas.
#include <gtest/gtest.h>

#include "generated_data.h"

namespace tooltest {
namespace {

constexpr std::uint16_t kBlack = 0;

TEST(GeneratedPacks, HoldTheImagesTheGameLoadsWithinItsCapacities) {
    ASSERT_EQ(mainPack().images.size(), 39u);
    EXPECT_LE(mainPack().content.size(), 2000000u);
    ASSERT_EQ(splashPack().images.size(), 1u);
    EXPECT_EQ(splashPack().images[0].width, 240);
    EXPECT_EQ(splashPack().images[0].height, 320);
    EXPECT_LE(splashPack().content.size(), 200000u);
    for (const pack::RawImage& image : mainPack().images) {
        EXPECT_EQ(image.bitsPerPixel, 16);
        EXPECT_EQ(image.hasAlpha, 0);
    }
}

TEST(GeneratedPictures, HaveTheSizesTheGameCutsThemBy) {
    struct Size {
        int slot, width, height;
    };
    const Size kSizes[] = {
        {kStartScreen, 240, 320},
        {kGameBackground, 240, 320},
        {kNewGameBackground, 240, 320},
        {kOptions, 240, 320},
        {kHelp, 240, 320},
        {kAbout, 240, 320},
        {kScores, 240, 320},
        {kSupport, 240, 320},
        {kPlayer1, 4 * 20, 24},
        {kExplosionPlayer, 5 * 20, 24},
        {kEnemy11, 4 * 23, 18},
        {kEnemy21, 4 * 23, 18},
        {kEnemy31, 4 * 23, 18},
        {kExplosion, 5 * 23, 18},
        {kGifts, 5 * 12, 12},
        {kKeyboardSmall, 240, 86},
        {kKeyboardLarge, 240, 86},
        {kKeyboardSmallPushed, 240, 86},
        {kKeyboardLargePushed, 240, 86},
    };
    for (const Size& size : kSizes) {
        EXPECT_EQ(slotImage(size.slot).width, size.width) << "slot " << size.slot;
        EXPECT_EQ(slotImage(size.slot).height, size.height) << "slot " << size.slot;
    }
    EXPECT_EQ(slotImage(kGiftLauncher1).width, 2 * 24);
    for (int slot = kStarFront1; slot <= kStarFront5; ++slot) {
        EXPECT_LE(slotImage(slot).width, 3);
        EXPECT_LE(slotImage(slot).height, 3);
    }
    EXPECT_LE(slotImage(kUnused30).width * slotImage(kUnused30).height, 64);
    EXPECT_LE(slotImage(kUnused36).width * slotImage(kUnused36).height, 64);
    for (int slot : {kGameOver, kStart}) {
        EXPECT_LE(slotImage(slot).width, 240);
        EXPECT_LE(slotImage(slot).height, 320);
    }
}

TEST(GeneratedPictures, SizedPiecesFitTheScreensThatPlaceThem) {
    // Five bricks from x 5, each the next after a gap of 35, inside the 240 pixel screen.
    const int brick = slotImage(kBrick).width;
    EXPECT_LE(5 + 4 * (brick + 35) + brick, 240);
    // The resume button at (8, 9) must stay above the new-game hot spot, which starts at y 35.
    EXPECT_LE(9 + slotImage(kButResume).height, 35);
    EXPECT_LE(8 + slotImage(kButResume).width, 240);
    // The name edit box at x 50 must leave the score column (x 150) and the next row (22 lower) alone.
    EXPECT_LE(50 + slotImage(kEditbox).width, 150);
    EXPECT_LE(slotImage(kEditbox).height, 22);
    EXPECT_GE(slotImage(kEditbox).height, 13);
    // Choice markers 32 pixels apart (rows 64, 97, 129) must not overlap.
    EXPECT_LE(slotImage(kButRadio).height, 32);
    EXPECT_LE(slotImage(kWeapon1).width, 6);
    EXPECT_LE(slotImage(kWeapon2).width, 6);
}

// A hot spot shows a button: several colours inside, and its left and right edges stand out from
// what lies just outside them.
void expectButtonAt(int slot, const Rect& spot) {
    const pack::RawImage& image = slotImage(slot);
    EXPECT_GE(coloursIn(image, spot).size(), 4u) << "slot " << slot << " at " << spot.left << "," << spot.top;
    const int middle = (spot.top + std::min(spot.bottom, image.height)) / 2;
    if (spot.left > 0) {
        EXPECT_NE(raw565(image, spot.left, middle), raw565(image, spot.left - 1, middle))
            << "slot " << slot << ": no left edge at " << spot.left;
    }
    if (spot.right < image.width) {
        EXPECT_NE(raw565(image, spot.right - 1, middle), raw565(image, spot.right, middle))
            << "slot " << slot << ": no right edge at " << spot.right;
    }
}

TEST(GeneratedPictures, ShowAButtonAtEveryHotSpot) {
    struct Spot {
        int slot;
        Rect rect;
    };
    const Spot kSpots[] = {
        {kGameBackground, {94, 273, 143, 293}},  // menu
        {kNewGameBackground, {10, 35, 118, 56}},
        {kNewGameBackground, {10, 64, 103, 85}},
        {kNewGameBackground, {10, 95, 68, 116}},
        {kNewGameBackground, {10, 125, 85, 147}},
        {kNewGameBackground, {10, 153, 85, 175}},
        {kNewGameBackground, {10, 183, 59, 204}},
        {kOptions, {87, 280, 138, 308}},
        {kScores, {36, 209, 81, 229}},
        {kScores, {123, 209, 200, 229}},
        {kHelp, {4, 285, 63, 320}},
        {kHelp, {180, 284, 239, 319}},
        {kHelp, {91, 286, 150, 321}},
        {kAbout, {4, 288, 68, 313}},
        {kAbout, {80, 288, 163, 314}},
        {kSupport, {4, 288, 68, 313}},
    };
    for (const Spot& spot : kSpots) expectButtonAt(spot.slot, spot.rect);
    const int size = slotImage(kButRadio).width;
    for (int y : {64, 97, 129, 215, 247}) {
        EXPECT_GE(coloursIn(slotImage(kOptions), Rect{4, y, 4 + size, y + size}).size(), 3u)
            << "choice at " << y;
    }
    EXPECT_GE(coloursIn(slotImage(kButResume), Rect{0, 0, 1000, 1000}).size(), 4u);
}

TEST(GeneratedPictures, LeaveTheAreasTheGameWritesOnReadable) {
    // Dark text on the help page's rectangle (its last line reaches y 263) and in the score rows.
    const pack::RawImage& help = slotImage(kHelp);
    for (int y = 60; y < 264; ++y)
        for (int x = 19; x < 225; ++x) ASSERT_GE(luma(help, x, y), 170) << "help page at " << x << "," << y;
    EXPECT_LE(coloursIn(help, Rect{19, 60, 225, 264}).size(), 3u) << "the page background must be calm";
    const pack::RawImage& scores = slotImage(kScores);
    for (int row = 0; row < 5; ++row)
        for (int y = 86 + 22 * row; y < 99 + 22 * row; ++y)
            for (int x = 25; x < 220; ++x)
                ASSERT_GE(luma(scores, x, y), 170) << "score row at " << x << "," << y;
    // The keyboard is drawn over the bottom of the scores screen: nothing may show around it.
    EXPECT_EQ(coloursIn(scores, Rect{0, 234, 240, 320}).size(), 1u);
    // White status text: level at (224, 294), lives at (224, 304), score at (5, 304).
    const pack::RawImage& field = slotImage(kGameBackground);
    for (const Rect& status : {Rect{224, 294, 240, 317}, Rect{5, 304, 80, 317}})
        for (int y = status.top; y < status.bottom; ++y)
            for (int x = status.left; x < status.right; ++x)
                ASSERT_LE(luma(field, x, y), 60) << x << "," << y;
}

TEST(GeneratedPictures, KeyedPicturesAreTransparentAroundTheirShapes) {
    for (int slot :
         {kPlayer1, kEnemy11, kEnemy21, kEnemy31, kExplosion, kGiftLauncher1, kGameOver, kStart, kButRadio}) {
        const pack::RawImage& image = slotImage(slot);
        EXPECT_EQ(raw565(image, 0, 0), kBlack) << "slot " << slot;
        EXPECT_EQ(raw565(image, image.width - 1, image.height - 1), kBlack) << "slot " << slot;
        EXPECT_GE(coloursIn(image, Rect{0, 0, image.width, image.height}).size(), 4u) << "slot " << slot;
    }
}

TEST(GeneratedPictures, AnimationFramesDifferAndAreNeverEmpty) {
    struct Strip {
        int slot, frameWidth;
    };
    for (const Strip& strip :
         {Strip{kPlayer1, 20}, Strip{kEnemy11, 23}, Strip{kEnemy21, 23}, Strip{kEnemy31, 23},
          Strip{kExplosion, 23}, Strip{kExplosionPlayer, 20}, Strip{kGiftLauncher1, 24}, Strip{kGifts, 12}}) {
        const pack::RawImage& image = slotImage(strip.slot);
        const int frames = image.width / strip.frameWidth;
        for (int k = 0; k < frames; ++k) {
            const Rect frame{k * strip.frameWidth, 0, (k + 1) * strip.frameWidth, image.height};
            EXPECT_GE(coloursIn(image, frame).size(), 2u) << "slot " << strip.slot << " frame " << k;
            bool differs = false;
            for (int y = 0; y < image.height && !differs; ++y)
                for (int x = 0; x < strip.frameWidth && !differs; ++x)
                    differs = raw565(image, k * strip.frameWidth + x, y) !=
                              raw565(image, ((k + 1) % frames) * strip.frameWidth + x, y);
            EXPECT_TRUE(differs) << "slot " << strip.slot << ": frames " << k << " and the next are the same";
        }
    }
}

TEST(GeneratedPictures, PlayerExplosionCarriesTheFieldColourBehindIt) {
    // It is drawn without a colour key over the ship's place (y 234 to 257) on the field.
    const pack::RawImage& blast = slotImage(kExplosionPlayer);
    const pack::RawImage& field = slotImage(kGameBackground);
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(raw565(blast, k * 20, 0), raw565(field, 0, 234)) << "frame " << k;
        EXPECT_EQ(raw565(blast, k * 20 + 19, 23), raw565(field, 239, 257)) << "frame " << k;
    }
}

}  // namespace
}  // namespace tooltest
