// The desktop icon, from the game's own sprites.
#include "assetgen/icons.h"

#include <numeric>

#include "assetgen/palette.h"
#include "assetgen/pictures.h"

namespace art {
namespace {

constexpr int kTile = 48;   // the icon's own pixel grid
constexpr int kCorner = 6;  // radius of the tile's rounded corners
constexpr Colour kRim{84, 112, 176};

bool insideRoundedTile(int x, int y) {
    const int cx = x < kCorner ? kCorner : x >= kTile - kCorner ? kTile - kCorner - 1 : x;
    const int cy = y < kCorner ? kCorner : y >= kTile - kCorner ? kTile - kCorner - 1 : y;
    const int dx = x - cx, dy = y - cy;
    return dx * dx + dy * dy <= kCorner * kCorner;
}

constexpr int kMaskableTile = 64;  // the icon's grid with a margin of 8 all round

void drawStarsAndShips(Canvas& tile, const Sources& sources, int offset) {
    static const int kStars[][2] = {{8, 9}, {39, 6}, {6, 30}, {41, 27}, {30, 40}, {12, 44}};
    for (const auto& star : kStars) tile.set(star[0] + offset, star[1] + offset, Colour{200, 220, 255});
    tile.draw(sources.sprites.frame("Enemy11", 0), offset + (kTile - 23) / 2, offset + 3);
    tile.draw(sources.sprites.frame("Player1", 0), offset + (kTile - 20) / 2, offset + kTile - 24 - 2);
}

Canvas iconTile(const Sources& sources) {
    Canvas tile(kTile, kTile);
    for (int y = 0; y < kTile; ++y) {
        for (int x = 0; x < kTile; ++x) {
            if (!insideRoundedTile(x, y)) continue;
            const bool edge = !insideRoundedTile(x - 1, y) || !insideRoundedTile(x + 1, y) ||
                              !insideRoundedTile(x, y - 1) || !insideRoundedTile(x, y + 1);
            tile.set(x, y, edge ? kRim : mix(palette::kSpaceTop, palette::kSpaceBottom, y / double(kTile)));
        }
    }
    drawStarsAndShips(tile, sources, 0);
    return tile;
}

}  // namespace

Canvas resampleSquare(const Canvas& source, int size) {
    const int grow = size / std::gcd(source.width(), size);
    const int big = source.width() * grow, box = big / size;
    Canvas out(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double r = 0, g = 0, b = 0, a = 0;  // colours weighted by their cover
            for (int by = 0; by < box; ++by) {
                for (int bx = 0; bx < box; ++bx) {
                    const Colour c = source.at((x * box + bx) / grow, (y * box + by) / grow);
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                }
            }
            if (a == 0) continue;
            out.set(x, y,
                    Colour(int(r / a + 0.5), int(g / a + 0.5), int(b / a + 0.5), int(a / (box * box) + 0.5)));
        }
    }
    return out;
}

Canvas maskableIconPicture(const Sources& sources, int size) {
    Canvas tile(kMaskableTile, kMaskableTile);
    for (int y = 0; y < kMaskableTile; ++y) {
        for (int x = 0; x < kMaskableTile; ++x) {
            tile.set(x, y, mix(palette::kSpaceTop, palette::kSpaceBottom, y / double(kMaskableTile)));
        }
    }
    drawStarsAndShips(tile, sources, (kMaskableTile - kTile) / 2);
    return resampleSquare(tile, size);
}

Canvas iconPicture(const Sources& sources, int size) {
    return resampleSquare(iconTile(sources), size);
}

}  // namespace art
