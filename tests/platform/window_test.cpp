// The window on the headless platform: the scale picked for each desktop, partial presentation, and
// the built-in font of the messages that come before the game's fonts.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/script/script.h"
#include "resources/images.h"
#include "shell/shell.h"
#include "support/test_support.h"

namespace {

namespace script = platform::script;
using testing_support::pixelOf;
using testing_support::Rgb;

class WindowTest : public testing_support::SdlTest {};

TEST_F(WindowTest, TheWindowFitsNinetyPercentOfTheDesktopFullScreenTakesItAll) {
    const struct {
        int scale, desktopW, desktopH;
        bool fullscreen;
        int w, h;
    } cases[] = {
        {0, 0, 0, false, 240, 320},         {0, 0, 0, true, 240, 320},  // desktop unknown
        {0, 1920, 1080, false, 720, 960},   {0, 1366, 768, false, 480, 640},
        {0, 2000, 1067, false, 720, 960},   {0, 2000, 1066, false, 480, 640},
        {0, 800, 5000, false, 720, 960},    {0, 799, 5000, false, 480, 640},
        {0, 8000, 8000, false, 1920, 2560}, {0, 200, 200, false, 240, 320},
        {5, 1366, 768, false, 1200, 1600},  {1, 1920, 1080, false, 240, 320},
        {0, 1920, 1080, true, 1920, 1080},  {2, 200, 200, true, 240, 320},
    };
    for (const auto& c : cases) {
        script::setDesktopSize(c.desktopW, c.desktopH);
        platform::chooseWindow(c.scale, c.fullscreen);
        std::string error;
        ASSERT_NE(platform::openScreen(240, 320, 16, "KORVEX", &error), nullptr) << error;
        EXPECT_EQ(SDL_GetVideoSurface()->w, c.w) << c.scale << " " << c.desktopW << "x" << c.desktopH;
        EXPECT_EQ(SDL_GetVideoSurface()->h, c.h) << c.scale << " " << c.desktopW << "x" << c.desktopH;
    }
}

TEST_F(WindowTest, APartialUpdateScalesOnlyItsRectangle) {
    platform::chooseWindow(2, false);
    std::string error;
    screen = platform::openScreen(240, 320, 16, "KORVEX", &error);
    ASSERT_NE(screen, nullptr) << error;
    SDL_Surface* window = SDL_GetVideoSurface();
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 200, 0, 0));
    script::takeShownRects();
    platform::presentScreen(screen);
    const auto shown = [] {
        std::vector<std::vector<int>> areas;
        for (const SDL_Rect& r : script::takeShownRects()) areas.push_back({r.x, r.y, r.w, r.h});
        return areas;
    };
    EXPECT_EQ(shown(), (std::vector<std::vector<int>>{{0, 0, 480, 640}}));
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 200));
    SDL_Rect rects[] = {{10, 20, 5, 6}, {230, 310, 20, 20}};  // the second reaches past the corner
    platform::presentRects(screen, 2, rects);
    EXPECT_EQ(shown(), (std::vector<std::vector<int>>{{20, 40, 10, 12}, {460, 620, 20, 20}}));
    const Rgb red{200, 0, 0}, blue{0, 0, 200};
    const struct {
        int x, y;
        Rgb colour;
    } pixels[] = {
        {20, 40, blue}, {29, 51, blue},   {19, 40, red},    {30, 40, red},   {20, 39, red},
        {20, 52, red},  {460, 620, blue}, {479, 639, blue}, {459, 620, red}, {460, 619, red},
    };
    for (const auto& p : pixels) EXPECT_EQ(pixelOf(window, p.x, p.y), p.colour) << p.x << ", " << p.y;
}

TEST_F(WindowTest, BeforeTheFontsAMessageIsDrawnWithTheBuiltInFontAndPrinted) {
    const char* text = "Cannot open /a/folder/with/a/name/far/too/long/for/one/line/data/0.pak: gone.";
    const Uint32 ink = SDL_MapRGB(screen->format, 24, 26, 44);
    int inkInside = 0, inkOutside = 0;
    script::answerMessageBoxes(platform::MessageAnswer::Ok);
    script::setIdleHook([&] {
        if (!script::messageWaiting() || inkInside > 0) return;
        for (int y = 0; y < 320; ++y) {
            for (int x = 0; x < 240; ++x) {
                if (readPixel(screen, x, y) == ink) ++(x > 14 && x < 225 ? inkInside : inkOutside);
            }
        }
    });
    testing::internal::CaptureStderr();
    EXPECT_EQ(platform::messageBox(0, text, "KORVEX", platform::MessageStyle::Ok),
              platform::MessageAnswer::Ok);
    EXPECT_NE(testing::internal::GetCapturedStderr().find(std::string("KORVEX: ") + text), std::string::npos);
    EXPECT_GT(inkInside, 300);  // every line of it, the long path broken inside the box
    EXPECT_EQ(inkOutside, 0);

    // With no display at all: standard error only, and no wait.
    SDL_Quit();
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(platform::messageBox(0, "No window", "Error", platform::MessageStyle::Ok),
              platform::MessageAnswer::Ok);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: No window\n");
    EXPECT_EQ(script::now(), 0u);
}

TEST_F(WindowTest, AScaledWindowShowsEveryColourOfTheGameWhereverItsDepth) {
    const Uint16 colours[] = {0x0000, 0xFFFF, 0xF800, 0x07E0, 0x001F, 0x0821, 0x8410, 0x7BEF};
    const int n = static_cast<int>(sizeof colours / sizeof colours[0]);
    for (const auto& [depth, s] : {std::pair{32, 2}, std::pair{32, 3}, std::pair{16, 3}}) {
        script::setDesktopDepth(depth);
        platform::followScreen(&screen);
        ASSERT_TRUE(platform::chooseWindow(s, false));
        ASSERT_EQ(SDL_GetVideoSurface()->format->BitsPerPixel, depth);
        auto* pixels = static_cast<Uint16*>(screen->pixels);
        const int stride = screen->pitch / 2;
        for (int k = 0; k < n; ++k) {  // along the top row from the left, the bottom row from the right
            pixels[k] = colours[k];
            pixels[319 * stride + 239 - k] = colours[k];
        }
        platform::presentScreen(screen);
        SDL_Surface* window = SDL_GetVideoSurface();
        for (int k = 0; k < n; ++k) {
            for (const auto& at :
                 {std::pair{s * k + s - 1, s - 1}, std::pair{s * (239 - k), s * 319 + s - 1}}) {
                const Rgb c = pixelOf(window, at.first, at.second);
                const int as565 = (c.r >> 3) << 11 | (c.g >> 2) << 5 | c.b >> 3;
                EXPECT_EQ(as565, colours[k]) << depth << " bits, scale " << s << ", colour " << k;
            }
        }
    }
}

// Pictures of every kind get SDL's own conversion for the game's surface, whatever the window: at
// scale 1 what SDL_DisplayFormat(Alpha) gives, at scale 2 the same.
void expectSamePicture(SDL_Surface* a, SDL_Surface* b, int i) {
    ASSERT_TRUE(a && b) << i;
    const SDL_PixelFormat *fa = a->format, *fb = b->format;
    EXPECT_EQ(fa->BitsPerPixel, fb->BitsPerPixel) << i;
    EXPECT_EQ(fa->Rmask, fb->Rmask) << i;
    EXPECT_EQ(fa->Bmask, fb->Bmask) << i;
    EXPECT_EQ(fa->Amask, fb->Amask) << i;
    EXPECT_EQ(fa->alpha, fb->alpha) << i;
    EXPECT_EQ(fa->colorkey, fb->colorkey) << i;
    EXPECT_EQ(a->flags, b->flags) << i;
    ASSERT_EQ(a->w, b->w) << i;
    ASSERT_EQ(a->h, b->h) << i;
    for (int y = 0; y < a->h; ++y) {
        EXPECT_EQ(std::memcmp(static_cast<Uint8*>(a->pixels) + y * a->pitch,
                              static_cast<Uint8*>(b->pixels) + y * b->pitch, a->w * fa->BytesPerPixel),
                  0)
            << i << " row " << y;
    }
}

TEST_F(WindowTest, PicturesAreConvertedAsAtScaleOneWhateverTheWindow) {
    Uint32 argb[4] = {0xFF00FF00, 0x00FFFFFF, 0x80123456, 0xFF0000FF};
    Uint8 rgb[12] = {1, 2, 3, 40, 50, 60, 200, 8, 9, 255, 128, 7};
    // The game's own format, three pixels a row on a pitch of five: copied without SDL's conversion.
    Uint16 rgb565[8] = {0xF800, 0x07E0, 0x001F, 0xDEAD, 0x1234, 0xFFFF, 0x0821, 0xBEEF};
    SDL_Surface* withAlpha = SDL_CreateRGBSurfaceFrom(argb, 2, 2, 32, 8, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
    SDL_Surface* plain = SDL_CreateRGBSurfaceFrom(rgb, 2, 2, 24, 6, 0xFF0000, 0xFF00, 0xFF, 0);
    SDL_Surface* game = SDL_CreateRGBSurfaceFrom(rgb565, 3, 2, 16, 10, 0xF800, 0x07E0, 0x001F, 0);
    SDL_Surface* keyed = SDL_CreateRGBSurfaceFrom(rgb565, 3, 2, 16, 10, 0xF800, 0x07E0, 0x001F, 0);
    SDL_SetColorKey(keyed, SDL_SRCCOLORKEY, 0x07E0);
    const std::pair<SDL_Surface*, bool> cases[] = {{withAlpha, true}, {withAlpha, false}, {plain, false},
                                                   {plain, true},     {game, false},      {keyed, false}};
    std::vector<SDL_Surface*> atOne;
    for (const auto& [picture, alpha] : cases) {
        atOne.push_back(platform::convertPicture(picture, alpha));
        SDL_Surface* bySdl = alpha ? SDL_DisplayFormatAlpha(picture) : SDL_DisplayFormat(picture);
        expectSamePicture(atOne.back(), bySdl, static_cast<int>(atOne.size()) - 1);
        SDL_FreeSurface(bySdl);
    }
    platform::chooseWindow(2, false);
    for (std::size_t i = 0; i < atOne.size(); ++i) {
        SDL_Surface* atTwo = platform::convertPicture(cases[i].first, cases[i].second);
        expectSamePicture(atOne[i], atTwo, static_cast<int>(i));
        SDL_FreeSurface(atOne[i]);
        SDL_FreeSurface(atTwo);
    }
    for (SDL_Surface* s : {withAlpha, plain, game, keyed}) SDL_FreeSurface(s);
}

}  // namespace
