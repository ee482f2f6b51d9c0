// The on-screen keyboard: 55 keys at the rectangles the name entry tests, in two cases, raised or pushed.
#include "assetgen/keyboard_layout.h"
#include "assetgen/palette.h"
#include "assetgen/pictures.h"
#include "assetgen/text.h"

namespace art {
namespace {

struct KeyLook {
    Colour faceTop, faceBottom, rimTop, rimBottom, label;
    int labelShift;  // a pushed key's label moves one pixel right and down
};

const KeyLook kRaised{{220, 228, 242}, {180, 192, 218}, {250, 252, 255}, {138, 150, 186}, palette::kInk, 0};
const KeyLook kRaisedControl{{176, 192, 224}, {140, 158, 200}, {214, 226, 250},
                             {100, 114, 160}, palette::kInk,   0};
const KeyLook kPushed{{70, 96, 160},   {96, 124, 188},        {40, 56, 100},
                      {120, 150, 214}, Colour(255, 255, 255), 1};
constexpr Colour kKeyEdge{48, 58, 94};

// Icons for the keys whose names do not fit: '#' is ink.
const char* const kBackspaceIcon[] = {"..#......", ".##......", "#########",
                                      ".##......", "..#......", nullptr};
const char* const kEnterIcon[] = {".......#", ".......#", "..#....#", ".##....#",
                                  "########", ".##.....", "..#.....", nullptr};
const char* const kSpaceIcon[] = {"#...........#", "#############", nullptr};

void drawIcon(Canvas& canvas, const char* const* rows, const Box& inner, Colour ink) {
    int height = 0;
    while (rows[height]) ++height;
    const int width = static_cast<int>(std::string(rows[0]).size());
    const int x0 = inner.left + (inner.width() - width) / 2, y0 = inner.top + (inner.height() - height) / 2;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (rows[y][x] == '#') canvas.set(x0 + x, y0 + y, ink);
}

void drawKeyFace(Canvas& canvas, const Box& key, const KeyLook& look) {
    canvas.frameRect(key.left, key.top, key.width(), key.height(), kKeyEdge);
    const Box face{key.left + 1, key.top + 1, key.right - 1, key.bottom - 1};
    canvas.verticalGradient(face.left, face.top, face.width(), face.height(), look.faceTop, look.faceBottom);
    canvas.fillRect(face.left, face.top, face.width(), 1, look.rimTop);
    canvas.fillRect(face.left, face.top, 1, face.height(), look.rimTop);
    canvas.fillRect(face.left, face.bottom - 1, face.width(), 1, look.rimBottom);
    canvas.fillRect(face.right - 1, face.top, 1, face.height(), look.rimBottom);
}

void drawKeyLabel(Canvas& canvas, const GlyphSet& glyphs, const Key& key, bool large, const KeyLook& look) {
    const Box inner{key.rect.left + 1 + look.labelShift, key.rect.top + 1 + look.labelShift,
                    key.rect.right - 1 + look.labelShift, key.rect.bottom - 1 + look.labelShift};
    const int code = large ? key.largeCase : key.smallCase;
    switch (code) {
        case kKeyBackspace:
            drawIcon(canvas, kBackspaceIcon, inner, look.label);
            return;
        case kKeyEnter:
            if (key.rect.right - key.rect.left < 30) {
                drawIcon(canvas, kEnterIcon, inner, look.label);
                return;
            }
            break;
        case kKeyBlank:
            return;
        case ' ':
            drawIcon(canvas, kSpaceIcon, inner, look.label);
            return;
        default:
            break;
    }
    TextStyle style;
    style.weight = Weight::kRegular;
    style.ink = look.label;
    // Small letters are centred on their x-height, everything else on the capital height.
    const bool smallLetter = code >= 'a' && code <= 'z';
    drawTextCentred(canvas, glyphs, keyLabel(code),
                    Box{inner.left, inner.top - (smallLetter ? 2 : 0), inner.right, inner.bottom}, style);
}

}  // namespace

Canvas keyboardPicture(const Sources& sources, bool large, bool pushed) {
    Canvas canvas(kKeyboardWidth, kKeyboardHeight, kKeyEdge);
    for (const Key& key : kKeys) {
        const bool control = key.smallCase < 32;
        const KeyLook& look = pushed ? kPushed : (control ? kRaisedControl : kRaised);
        drawKeyFace(canvas, Box{key.rect.left, key.rect.top, key.rect.right, key.rect.bottom}, look);
        drawKeyLabel(canvas, sources.glyphs, key, large, look);
    }
    return canvas;
}

}  // namespace art
