#include "menu_fixture.h"

#include "persist/settings.h"
#include "shell/shell.h"
#include "ui/font.h"
#include "ui/text_page.h"

namespace menu_test {

namespace {

constexpr Rgb kTransparent = {152, 152, 152};
constexpr Rgb kMarker = {248, 0, 248};
constexpr int kGlyphCount = '~' - '!' + 1;
constexpr std::uint32_t kTimeLimit = 60000;  // virtual milliseconds

Rgb inkOf(int glyph) {
    return {8 + 8 * (glyph % 30), 4 * (1 + glyph / 30), 200};
}

void fill(SDL_Surface* s, int x, int y, int w, int h, Rgb c) {
    SDL_Rect r = {static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w),
                  static_cast<Uint16>(h)};
    SDL_FillRect(s, &r, SDL_MapRGB(s->format, c.r, c.g, c.b));
}

SDL_Surface* buildFont(int width, int height) {
    SDL_Surface* font = testing_support::makeSurface(1 + kGlyphCount * (width + 1), height, kTransparent);
    fill(font, 0, 0, 1, 1, kMarker);
    for (int k = 0; k < kGlyphCount; ++k) {
        const int left = 1 + k * (width + 1);
        fill(font, left, 1, width, height - 1, inkOf(k));
        fill(font, left + width, 0, 1, 1, kMarker);
    }
    SDL_SetColorKey(font, SDL_SRCCOLORKEY,
                    SDL_MapRGB(font->format, kTransparent.r, kTransparent.g, kTransparent.b));
    return font;
}

void paintText(const char* text, int x, int y) {
    drawText(text, x, y, kFont);
}

struct PictureSize {
    int slot, w, h;
};
constexpr PictureSize kSmallPictures[] = {
    {kButRadio, kRadioSize, kRadioSize},
    {kButResume, kResumeWidth, kResumeHeight},
    {kKeyboardSmall, 240, 86},
    {kKeyboardLarge, 240, 86},
};

}  // namespace

Rgb colourOf(int slot) {
    return {8 * (slot % 31) + 8, 4 * (63 - slot), 8 * (slot % 7) + 16};
}

void MenuTest::SetUp() {
    SdlTest::SetUp();
    for (int slot = 0; slot < kImageCount; ++slot) {
        int w = 240, h = 320;
        for (const PictureSize& p : kSmallPictures) {
            if (p.slot == slot) w = p.w, h = p.h;
        }
        images[slot] = testing_support::makeSurface(w, h, colourOf(slot));
    }
    SDL_FreeSurface(images[kFont]);
    SDL_FreeSurface(images[kFontBold]);
    images[kFont] = buildFont(kGlyphWidth, kGlyphHeight);
    images[kFontBold] = buildFont(kGlyphWidth + 1, kGlyphHeight + 2);
    for (SDL_Surface* image : images) owned_.push_back(image);
    selectFont(kFont);
    platform::setMessagePainter(screen, paintText, textWidth, kGlyphHeight);
    setStory("");
    platform::script::setTimeLimit(kTimeLimit);
    onIdle(nullptr);
}

void MenuTest::TearDown() {
    selectFont(-1);
    SdlTest::TearDown();
    for (SDL_Surface* s : owned_) SDL_FreeSurface(s);
}

void MenuTest::setStory(const std::string& story) {
    story_ = story;
    helpPage = TextPage{};
    helpPage.setArea(19, 60, 205, 190);
    helpPage.setBackground(images[kHelp]);
    helpPage.setNormalFont(images[kFont]);
    helpPage.setBoldFont(images[kFontBold]);
    helpPage.useFont(0);
    helpPage.setText(story_.c_str());
}

bool MenuTest::pixelIs(int x, int y, Rgb c) const {
    return readPixel(screen, x, y) == SDL_MapRGB(screen->format, c.r, c.g, c.b);
}

int MenuTest::screenShown() const {
    for (int slot = 0; slot < kImageCount; ++slot) {
        if (pixelIs(kProbeX, kProbeY, colourOf(slot))) return slot;
    }
    return -1;
}

bool MenuTest::inkAt(int x, int y, char c) const {
    return pixelIs(x, y + 1, inkOf(c - '!'));
}

char MenuTest::glyphAt(int x, int y) const {
    for (int k = 0; k < kGlyphCount; ++k) {
        if (pixelIs(x, y + 1, inkOf(k)) && !pixelIs(x - 1, y + 1, inkOf(k)))
            return static_cast<char>('!' + k);
    }
    return 0;
}

void MenuTest::onIdle(std::function<void()> hook) {
    platform::script::setIdleHook([hook] {
        if (hook) hook();
    });
}

void MenuTest::recordScreens() {
    onIdle([this] { screens_.push_back(screenShown()); });
}

std::vector<int> MenuTest::screenSequence() const {
    std::vector<int> folded;
    for (int s : screens_) {
        if (folded.empty() || folded.back() != s) folded.push_back(s);
    }
    return folded;
}

std::string MenuTest::settingsFile() const {
    return testing_support::readFile(dataDir + "korvex.set");
}

}  // namespace menu_test
