// The colours every generated picture shares, so that the screens read as one game.
#pragma once

#include "assetgen/canvas.h"

namespace palette {

using art::Colour;

// Deep space: near-black blue, with violet and teal clouds.
constexpr Colour kSpaceTop{3, 5, 18};
constexpr Colour kSpaceBottom{12, 16, 42};
constexpr Colour kNebulaViolet{78, 40, 118};
constexpr Colour kNebulaTeal{22, 86, 110};

// Interface chrome: steel-blue panels and buttons with warm white labels.
constexpr Colour kPanel{18, 26, 54};
constexpr Colour kPanelEdge{84, 112, 176};
constexpr Colour kButtonTop{82, 118, 198};
constexpr Colour kButtonBottom{36, 56, 122};
constexpr Colour kButtonRim{176, 206, 255};
constexpr Colour kButtonOutline{24, 34, 86};
constexpr Colour kLabel{255, 248, 226};
constexpr Colour kLabelShadow{12, 18, 46};
constexpr Colour kAccent{118, 208, 255};
constexpr Colour kAccentDim{70, 120, 170};

// Titles: gold fading to orange, outlined in dark brown.
constexpr Colour kTitle{255, 222, 96};
constexpr Colour kTitleBottom{240, 122, 36};
constexpr Colour kTitleOutline{36, 14, 8};

// Paper panels, where the game writes with its dark fonts.
constexpr Colour kPaper{228, 234, 244};
constexpr Colour kPaperStripe{212, 220, 236};
constexpr Colour kPaperCell{240, 244, 250};
constexpr Colour kPaperEdge{110, 128, 168};
constexpr Colour kInk{22, 26, 50};
constexpr Colour kInkBold{18, 42, 116};

// Keys of the transparent colours the game sets.
constexpr Colour kKeyBlack{0, 0, 0};
constexpr Colour kKeyFont{156, 156, 156};
constexpr Colour kKeyFontBold{128, 128, 128};

}  // namespace palette
