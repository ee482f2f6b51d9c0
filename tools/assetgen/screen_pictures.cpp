// Pictures of play: the splash, the playing field with its status bar, the banners, the story picture.
#include "assetgen/palette.h"
#include "assetgen/pictures.h"
#include "assetgen/text.h"
#include "assetgen/ui_kit.h"

namespace art {
namespace {

constexpr int kScreenWidth = 240, kScreenHeight = 320;
constexpr int kStatusBarTop = 264;  // below the ship (y 234 to 257) and the bombs' end (y 258)

const PlanetLook kKorvex{Colour(124, 186, 206), Colour(12, 20, 42), Colour(206, 168, 116),
                         Colour(222, 204, 172), Colour(120, 200, 255)};

Canvas banner(int width, int height) {
    Canvas canvas(width, height);
    drawPanel(canvas, Box{0, 0, width, height}, palette::kButtonOutline, palette::kButtonOutline);
    drawPanel(canvas, Box{1, 1, width - 1, height - 1}, palette::kPanel, palette::kPanelEdge);
    canvas.fillRect(3, 2, width - 6, 1, shade(palette::kPanelEdge, 0.6));
    return canvas;
}

void rightAligned(Canvas& canvas, const Sources& sources, const char* text, int right, int y, Colour ink) {
    TextStyle style;
    style.weight = Weight::kRegular;
    style.ink = ink;
    drawText(canvas, sources.glyphs, text, right - textWidth(sources.glyphs, text, Weight::kRegular), y,
             style);
}

}  // namespace

Canvas splashPicture(const Sources& sources) {
    Canvas canvas(kScreenWidth, kScreenHeight);
    spaceBackdrop(canvas, 7001, true);
    drawPlanet(canvas, 150, 252, 64, kKorvex, 17);
    drawTitle(canvas, sources.glyphs, "KORVEX", 120, 42, 5);
    TextStyle subtitle;
    subtitle.ink = palette::kAccent;
    subtitle.shadow = palette::kLabelShadow;
    drawTextCentred(canvas, sources.glyphs, "DEFEND  THE  RING", Box{0, 88, kScreenWidth, 96}, subtitle);
    canvas.draw(scaled(sources.sprites.frame("Enemy31", 0), 2), 26, 118);
    canvas.draw(scaled(sources.sprites.frame("Enemy21", 1), 2), 150, 132);
    canvas.draw(scaled(sources.sprites.frame("Enemy11", 2), 2), 88, 150);
    canvas.draw(scaled(sources.sprites.frame("Player1", 1), 2), 40, 226);
    return canvas;
}

Canvas gameBackground(const Sources& sources) {
    Canvas canvas(kScreenWidth, kScreenHeight);
    // The field: clouds only high up, so the rows the ship flies through stay one colour across.
    canvas.verticalGradient(0, 0, kScreenWidth, kStatusBarTop, palette::kSpaceTop, palette::kSpaceBottom);
    Canvas clouds(kScreenWidth, 200);
    spaceBackdrop(clouds, 3303, true);
    for (int y = 0; y < 200; ++y) {
        const double fade = y < 150 ? 1.0 : (200 - y) / 50.0;
        for (int x = 0; x < kScreenWidth; ++x) canvas.set(x, y, mix(canvas.at(x, y), clouds.at(x, y), fade));
    }
    // The status bar: score on the left, the menu button in the middle, level and lives on the right.
    canvas.verticalGradient(0, kStatusBarTop, kScreenWidth, kScreenHeight - kStatusBarTop, palette::kPanel,
                            shade(palette::kPanel, 0.55));
    canvas.fillRect(0, kStatusBarTop, kScreenWidth, 1, palette::kPanelEdge);
    canvas.fillRect(0, kStatusBarTop + 1, kScreenWidth, 1, shade(palette::kPanelEdge, 0.45));
    drawButton(canvas, sources.glyphs, Box{94, 273, 143, 293}, "MENU");
    TextStyle label;
    label.weight = Weight::kRegular;
    label.ink = palette::kAccentDim;
    drawText(canvas, sources.glyphs, "SCORE", 5, 296, label);
    rightAligned(canvas, sources, "LEVEL", 220, 296, palette::kAccentDim);
    rightAligned(canvas, sources, "LIVES", 220, 306, palette::kAccentDim);
    return canvas;
}

Canvas gameOverBanner(const Sources& sources) {
    Canvas canvas = banner(206, 50);
    TextStyle style;
    style.scale = 3;
    style.ink = Colour(255, 140, 110);
    style.inkBottom = Colour(196, 30, 44);
    style.outline = Colour(40, 6, 12);
    drawTextCentred(canvas, sources.glyphs, "GAME OVER", Box{0, 0, 206, 50}, style);
    return canvas;
}

Canvas levelBanner(const Sources& sources) {
    Canvas canvas = banner(160, 46);
    TextStyle style;
    style.scale = 2;
    style.ink = palette::kTitle;
    style.inkBottom = palette::kTitleBottom;
    style.outline = palette::kTitleOutline;
    drawTextCentred(canvas, sources.glyphs, "GET READY", Box{0, 6, 160, 28}, style);
    TextStyle line;
    line.ink = palette::kAccent;
    drawTextCentred(canvas, sources.glyphs, "SWEEP THE SKY", Box{0, 28, 160, 40}, line);
    return canvas;
}

Canvas storyPicture(const Sources& sources) {
    Canvas canvas(150, 64);
    spaceBackdrop(canvas, 9090, true);
    drawPlanet(canvas, 104, 40, 22, kKorvex, 5);
    canvas.draw(sources.sprites.frame("Enemy21", 0), 14, 6);
    canvas.draw(sources.sprites.frame("Enemy11", 1), 40, 14);
    canvas.draw(sources.sprites.frame("Player1", 2), 30, 38);
    canvas.frameRect(0, 0, 150, 64, palette::kPaperEdge);
    return canvas;
}

}  // namespace art
