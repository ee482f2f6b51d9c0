// The menu screens: every button sits exactly on the hot spot the game tests for it.
#include "assetgen/palette.h"
#include "assetgen/pictures.h"
#include "assetgen/text.h"
#include "assetgen/ui_kit.h"

namespace art {
namespace {

constexpr int kWidth = 240, kHeight = 320;

struct Button {
    Box box;
    const char* label;
};

const Button kMenuButtons[] = {
    {{10, 35, 118, 56}, "NEW GAME"}, {{10, 64, 103, 85}, "OPTIONS"}, {{10, 95, 68, 116}, "HELP"},
    {{10, 125, 85, 147}, "SCORES"},  {{10, 153, 85, 175}, "ABOUT"},  {{10, 183, 59, 204}, "QUIT"},
};

struct Choice {
    int y;  // top of the ring, where the game draws its marker
    const char* label;
    const char* note;
};

const Choice kDifficulties[] = {
    {64, "EASY", "a quiet patrol, few bombs"},
    {97, "NORMAL", "the swarm fights back"},
    {129, "HARD", "a storm of bombs"},
};
const Choice kSoundChoices[] = {
    {215, "SOUND ON", "shots, hits and gifts"},
    {247, "SOUND OFF", "silent running"},
};
constexpr int kRingX = 4, kRingSize = 18;

const PlanetLook kMenuPlanet{Colour(226, 150, 110), Colour(30, 12, 30), Colour(150, 70, 90),
                             Colour(200, 190, 230), Colour(255, 170, 140)};

Canvas screenBase(std::uint32_t seed, const Sources& sources, const char* title) {
    Canvas canvas(kWidth, kHeight);
    spaceBackdrop(canvas, seed, true);
    if (title) drawTitle(canvas, sources.glyphs, title, kWidth / 2, 14, 2);
    return canvas;
}

// The horizon of a large world filling the bottom of the screen.
void drawHorizon(Canvas& canvas, int top) {
    const PlanetLook world{Colour(70, 130, 170), Colour(8, 16, 36), Colour(120, 150, 150), kClear,
                           Colour(110, 190, 255)};
    drawPlanet(canvas, 70, top + 420, 420, world, 23);
}

void drawChoices(Canvas& canvas, const Sources& sources, const Choice* choices, int count) {
    for (int i = 0; i < count; ++i) {
        const Choice& choice = choices[i];
        drawChoiceRing(canvas, kRingX, choice.y, kRingSize);
        TextStyle label;
        label.ink = palette::kLabel;
        label.shadow = palette::kLabelShadow;
        drawText(canvas, sources.glyphs, choice.label, 30, choice.y + 1, label);
        TextStyle note;
        note.weight = Weight::kRegular;
        note.ink = palette::kAccentDim;
        drawText(canvas, sources.glyphs, choice.note, 30, choice.y + 11, note);
    }
}

void drawSectionHeading(Canvas& canvas, const Sources& sources, const char* text, int y) {
    TextStyle style;
    style.ink = palette::kAccent;
    style.shadow = palette::kLabelShadow;
    drawText(canvas, sources.glyphs, text, 6, y, style);
    const int after = 6 + textWidth(sources.glyphs, text, Weight::kBold) + 6;
    canvas.fillRect(after, y + 3, kWidth - 6 - after, 1, palette::kPanelEdge);
}

}  // namespace

Canvas menuBackground(const Sources& sources) {
    Canvas canvas(kWidth, kHeight);
    spaceBackdrop(canvas, 5150, true);
    drawHorizon(canvas, 236);
    drawPlanet(canvas, 186, 108, 30, kMenuPlanet, 77);
    drawTitle(canvas, sources.glyphs, "KORVEX", 168, 10, 3);
    canvas.draw(scaled(sources.sprites.frame("Player1", 1), 2), 150, 158);
    canvas.draw(sources.sprites.frame("Enemy31", 0), 200, 150);
    canvas.draw(sources.sprites.frame("Enemy21", 2), 130, 60);
    for (const Button& button : kMenuButtons) drawButton(canvas, sources.glyphs, button.box, button.label);
    return canvas;
}

Canvas resumeButton(const Sources& sources) {
    Canvas canvas(80, 22, palette::kSpaceTop);
    drawButton(canvas, sources.glyphs, Box{0, 0, 80, 22}, "RESUME");
    return canvas;
}

Canvas optionsScreen(const Sources& sources) {
    Canvas canvas = screenBase(2201, sources, "OPTIONS");
    drawSectionHeading(canvas, sources, "DIFFICULTY", 46);
    drawChoices(canvas, sources, kDifficulties, 3);
    drawSectionHeading(canvas, sources, "SOUND", 196);
    drawChoices(canvas, sources, kSoundChoices, 2);
    drawButton(canvas, sources.glyphs, Box{87, 280, 138, 308}, "OK");
    return canvas;
}

Canvas scoresScreen(const Sources& sources) {
    Canvas canvas = screenBase(4402, sources, "HIGH SCORES");
    TextStyle heading;
    heading.ink = palette::kAccent;
    heading.shadow = palette::kLabelShadow;
    drawText(canvas, sources.glyphs, "#", 25, 70, heading);
    drawText(canvas, sources.glyphs, "NAME", 50, 70, heading);
    drawText(canvas, sources.glyphs, "SCORE", 150, 70, heading);
    drawPanel(canvas, Box{14, 80, 226, 198}, palette::kPaper, palette::kPaperEdge);
    for (int row = 0; row < 5; ++row) {
        const int top = 84 + 22 * row;
        canvas.fillRect(18, top, 204, 20, palette::kPaperStripe);
        canvas.fillRect(19, top + 1, 25, 18, palette::kPaperCell);
        canvas.fillRect(46, top + 1, 98, 18, palette::kPaperCell);
        canvas.fillRect(146, top + 1, 75, 18, palette::kPaperCell);
    }
    drawButton(canvas, sources.glyphs, Box{36, 209, 81, 229}, "OK");
    drawButton(canvas, sources.glyphs, Box{123, 209, 200, 229}, "RESET");
    // The on-screen keyboard covers the bottom; under it the screen stays plain.
    canvas.fillRect(0, 234, kWidth, kHeight - 234, palette::kPanel);
    return canvas;
}

Canvas helpScreen(const Sources& sources) {
    Canvas canvas = screenBase(6603, sources, "THE STORY");
    // The page text is laid out from x 19 to 224 and y 60 to 250; its last line reaches y 263.
    drawPanel(canvas, Box{12, 52, 232, 270}, palette::kPaper, palette::kPaperEdge);
    canvas.fillRect(13, 53, 218, 1, palette::kPaperStripe);
    drawButton(canvas, sources.glyphs, Box{4, 285, 63, 320}, "< PREV");
    drawButton(canvas, sources.glyphs, Box{91, 286, 150, 320}, "MENU");
    drawButton(canvas, sources.glyphs, Box{180, 284, 239, 319}, "NEXT >");
    return canvas;
}

Canvas aboutScreen(const Sources& sources) {
    static const char* const kLines[] = {
        "!A SHOOTER FOR SMALL SCREENS",
        "",
        "The swarm is falling on the ring",
        "world of Korvex. One interceptor",
        "stands between it and the towns",
        "below. Sweep the sky, catch the",
        "gifts the carriers drop, and put",
        "your name on the board.",
        "",
        "!MADE FROM SCRATCH",
        "Every picture, letter and sound",
        "in this game is generated by its",
        "own tools from text in its source",
        "tree. Built with SDL and zlib.",
        nullptr,
    };
    Canvas canvas = screenBase(8804, sources, "ABOUT");
    drawTitle(canvas, sources.glyphs, "KORVEX", kWidth / 2, 42, 3);
    TextStyle version;
    version.weight = Weight::kRegular;
    version.ink = palette::kAccentDim;
    drawTextCentred(canvas, sources.glyphs, "version 1.0", Box{0, 68, kWidth, 76}, version);
    drawPanel(canvas, Box{6, 84, 234, 278}, shade(palette::kPanel, 0.8), palette::kPanelEdge);
    drawLines(canvas, sources.glyphs, kLines, 14, 92, 13);
    drawButton(canvas, sources.glyphs, Box{4, 288, 68, 313}, "OK");
    drawButton(canvas, sources.glyphs, Box{80, 288, 163, 314}, "SUPPORT");
    return canvas;
}

Canvas supportScreen(const Sources& sources) {
    static const char* const kControls[] = {
        "!CONTROLS", "Left and Right: steer the ship", "Up or Ctrl: fire", "Tap MENU to pause the game",
        nullptr,
    };
    static const char* const kGiftNames[] = {"Freeze: the swarm stands still", "Shield: five bricks rise",
                                             "Extra ship: one more life", "Speed: a faster ship",
                                             "Chain: a kill takes the one above"};
    static const char* const kHelp[] = {
        "!TROUBLE?",
        "Read the README in the game's",
        "folder. Delete data/korvex.set",
        "to start afresh with empty scores.",
        nullptr,
    };
    Canvas canvas = screenBase(9905, sources, "SUPPORT");
    drawPanel(canvas, Box{6, 40, 234, 278}, shade(palette::kPanel, 0.8), palette::kPanelEdge);
    int y = drawLines(canvas, sources.glyphs, kControls, 14, 48, 13);
    static const char* const kGiftsHeading[] = {"!GIFTS: SHOOT THE CARRIER", nullptr};
    y = drawLines(canvas, sources.glyphs, kGiftsHeading, 14, y + 8, 13);
    const Canvas gifts = sources.sprites.strip("Gifts");
    for (int kind = 0; kind < 5; ++kind) {
        const int rowY = y + kind * 16;
        canvas.draw(gifts.crop(kind * 12, 0, 12, 12), 16, rowY - 2);
        TextStyle name;
        name.weight = Weight::kRegular;
        name.ink = palette::kLabel;
        drawText(canvas, sources.glyphs, kGiftNames[kind], 34, rowY, name);
    }
    drawLines(canvas, sources.glyphs, kHelp, 14, y + 5 * 16 + 8, 13);
    drawButton(canvas, sources.glyphs, Box{4, 288, 68, 313}, "OK");
    return canvas;
}

}  // namespace art
