// Sprites and small pictures: the art-file strips, and the effects painted by code.
#include <algorithm>
#include <cmath>

#include "assetgen/palette.h"
#include "assetgen/pictures.h"
#include "assetgen/random.h"
#include "assetgen/ui_kit.h"

namespace art {
namespace {

constexpr int kExplosionFrames = 5;

// Hot colours by age: 0 white, then yellow, orange, red, and a dark ember at 1.
Colour fireColour(double age) {
    static const Colour kStops[] = {
        {255, 255, 236}, {255, 232, 120}, {255, 150, 44}, {214, 60, 30}, {96, 30, 36}};
    age = std::clamp(age, 0.0, 1.0) * 4.0;
    const int stop = std::min(3, static_cast<int>(age));
    return mix(kStops[stop], kStops[stop + 1], age - stop);
}

// One explosion frame: a ragged fireball that swells and hollows out, and sparks flying off.
void paintBlast(Canvas& canvas, int frame, int left, int width, int height, double size, std::uint32_t seed,
                Colour debris) {
    const double t = frame / double(kExplosionFrames - 1);
    const double cx = left + width / 2.0, cy = height / 2.0;
    const double radius =
        size * (0.5 + 0.6 * std::sin(std::min(1.0, t * 1.6) * 1.5708)) * (frame == 4 ? 0.7 : 1);
    const double hollow = t < 0.6 ? 0.0 : (t - 0.4) * radius * 1.3;
    for (int y = 0; y < height; ++y) {
        for (int x = left; x < left + width; ++x) {
            const double dx = x + 0.5 - cx, dy = (y + 0.5 - cy) * 1.15;
            const double d = std::sqrt(dx * dx + dy * dy);
            const double ragged = radius * (0.75 + 0.5 * valueNoise(x * 1.0, y * 1.0, 3.0, seed + frame * 7));
            if (d > ragged || d < hollow) continue;
            if (frame == 4 && valueNoise(x, y, 2.0, seed + 99) < 0.55) continue;  // breaking up into smoke
            canvas.set(x, y, fireColour(t * 0.75 + 0.35 * d / std::max(1.0, ragged)));
        }
    }
    Random random(seed);
    for (int i = 0; i < 14; ++i) {
        const double angle = random.unit() * 6.2832, speed = 0.45 + random.unit() * 0.55;
        const double reach = size * (0.4 + 1.1 * t) * speed * 1.35;
        const int x = static_cast<int>(cx + std::cos(angle) * reach);
        const int y = static_cast<int>(cy + std::sin(angle) * reach * 0.85);
        if (x < left || x >= left + width || frame == 0) continue;
        canvas.set(x, y, i % 3 == 0 ? debris : fireColour(t + 0.2 * speed));
    }
}

}  // namespace

Canvas playerStrip(const Sources& sources) {
    return sources.sprites.strip("Player1");
}

Canvas enemyStrip(const Sources& sources, int hits) {
    static const char* const kNames[] = {"Enemy11", "Enemy21", "Enemy31"};
    return sources.sprites.strip(kNames[hits - 1]);
}

Canvas carrierStrip(const Sources& sources) {
    return sources.sprites.strip("GiftLauncher1");
}
Canvas giftsStrip(const Sources& sources) {
    return sources.sprites.strip("Gifts");
}

Canvas enemyExplosionStrip(const Sources&) {
    Canvas strip(23 * kExplosionFrames, 18);
    for (int k = 0; k < kExplosionFrames; ++k)
        paintBlast(strip, k, 23 * k, 23, 18, 8.0, 4711, Colour(150, 246, 120));
    return strip;
}

Canvas playerExplosionStrip(const Sources& sources) {
    // Drawn without a colour key, so each frame carries the field's own colour behind the blast:
    // the rows of the game background where the ship flies (y 234 to 257), which are plain.
    const Canvas field = gameBackground(sources);
    Canvas strip(20 * kExplosionFrames, 24);
    for (int k = 0; k < kExplosionFrames; ++k) {
        for (int y = 0; y < 24; ++y) strip.fillRect(20 * k, y, 20, 1, field.at(0, 234 + y));
        Canvas ship = sources.sprites.frame("Player1", 0);
        if (k == 0) strip.draw(ship, 0, 0);
        paintBlast(strip, k, 20 * k, 20, 24, 9.5, 1234, Colour(174, 188, 216));
    }
    return strip;
}

Canvas shotPicture(const Sources&) {
    Canvas shot(3, 8);
    for (int y = 0; y < 8; ++y) {
        const double t = y / 7.0;
        const Colour edge = mix(Colour(60, 170, 255), Colour(14, 40, 100), t);
        shot.set(0, y, y == 0 ? Colour(10, 24, 60) : edge);
        shot.set(1, y, mix(Colour(250, 255, 255), Colour(80, 200, 255), t));
        shot.set(2, y, y == 0 ? Colour(10, 24, 60) : edge);
    }
    return shot;
}

Canvas bombPicture(const Sources&) {
    static const char* const kRows[] = {".oo.", "oyyo", "oWyo", "oyoo", ".of.", "..f."};
    Canvas bomb(4, 6, Colour(46, 10, 20));
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 4; ++x) {
            switch (kRows[y][x]) {
                case 'W':
                    bomb.set(x, y, Colour(255, 250, 220));
                    break;
                case 'y':
                    bomb.set(x, y, Colour(255, 210, 90));
                    break;
                case 'o':
                    bomb.set(x, y, Colour(240, 96, 40));
                    break;
                case 'f':
                    bomb.set(x, y, Colour(150, 36, 36));
                    break;
                default:
                    break;
            }
        }
    }
    return bomb;
}

Canvas brickPicture(const Sources&) {
    // Two courses of bricks in running bond; each pair is a brick's first and last column.
    static const int kBricks[][3] = {{0, 0, 6}, {0, 8, 15}, {1, 0, 2}, {1, 4, 10}, {1, 12, 15}};
    const Colour mortar(70, 40, 38), face(196, 92, 58), light(236, 150, 100), dark(132, 56, 40);
    Canvas brick(16, 8, mortar);
    for (const auto& b : kBricks) {
        const int top = b[0] * 4, first = b[1], width = b[2] - b[1] + 1;
        brick.fillRect(first, top, width, 3, face);
        brick.fillRect(first, top, width, 1, light);
        brick.fillRect(b[2], top + 1, 1, 2, dark);
    }
    return brick;
}

Canvas starPicture(int kind) {
    switch (kind) {
        case 0:
            return Canvas(1, 1, Colour(104, 112, 150));
        case 1:
            return Canvas(1, 1, Colour(236, 240, 255));
        case 2: {
            Canvas star(2, 2, Colour(110, 150, 224));
            star.set(0, 0, Colour(214, 232, 255));
            return star;
        }
        case 3: {
            Canvas star(2, 2, Colour(196, 150, 80));
            star.set(0, 0, Colour(255, 236, 160));
            return star;
        }
        default: {
            Canvas star(3, 3, Colour(14, 18, 46));
            star.set(1, 0, Colour(170, 200, 255));
            star.set(0, 1, Colour(170, 200, 255));
            star.set(2, 1, Colour(170, 200, 255));
            star.set(1, 2, Colour(170, 200, 255));
            star.set(1, 1, Colour(255, 255, 255));
            return star;
        }
    }
}

Canvas choiceMarkerPicture(const Sources&) {
    return choiceMarker(18);
}

Canvas smallEnemyPicture(const Sources& sources) {
    const Canvas enemy = sources.sprites.frame("Enemy11", 0);
    Canvas small(12, 9, palette::kSpaceTop);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 12; ++x)
            if (enemy.at(x * 2, y * 2).opaque()) small.set(x, y, enemy.at(x * 2, y * 2));
    return small;
}

Canvas placeholderPicture(const Sources&) {
    return Canvas(4, 4, palette::kPanel);
}

Canvas editBoxPicture(const Sources&) {
    Canvas box(90, 16, palette::kPaperCell);
    box.frameRect(0, 0, 90, 16, palette::kPaperEdge);
    box.fillRect(1, 1, 88, 1, palette::kPaperStripe);
    return box;
}

}  // namespace art
