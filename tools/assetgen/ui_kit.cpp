// Backdrops, planets and interface chrome in the shared palette.
#include "assetgen/ui_kit.h"

#include <algorithm>
#include <cmath>

#include "assetgen/palette.h"
#include "assetgen/random.h"
#include "assetgen/text.h"

namespace art {
namespace {

double clamp01(double v) {
    return std::clamp(v, 0.0, 1.0);
}

// Ring of a tilted planet ring at a point relative to the planet centre: 0 outside, else brightness.
double ringDensity(double dx, double dy, double radius) {
    const double u = dx / radius, v = dy / (radius * 0.28);
    const double t = std::sqrt(u * u + v * v);
    if (t < 1.35 || t > 1.95) return 0.0;
    const double bands = 0.65 + 0.35 * std::sin(t * 38.0);
    return t > 1.62 && t < 1.68 ? 0.15 : bands;  // a dark gap splits the ring in two
}

void drawRingHalf(Canvas& canvas, double cx, double cy, double radius, Colour ring, bool front) {
    const int reach = static_cast<int>(radius * 2.0);
    for (int y = static_cast<int>(cy - reach); y <= cy + reach; ++y) {
        for (int x = static_cast<int>(cx - reach); x <= cx + reach; ++x) {
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            if ((dy >= 0) != front) continue;
            const double density = ringDensity(dx, dy, radius);
            if (density > 0) canvas.blend(x, y, shade(ring, 0.5 + 0.5 * density), 0.35 + 0.5 * density);
        }
    }
}

Colour planetSurface(const PlanetLook& look, double nx, double ny, double x, double y, std::uint32_t seed) {
    const double nz = std::sqrt(std::max(0.0, 1.0 - nx * nx - ny * ny));
    const double light = clamp01(-0.55 * nx - 0.45 * ny + 0.70 * nz);
    double tone = std::pow(light, 0.85);
    Colour surface = mix(look.dark, look.light, tone);
    if (look.band.opaque()) {
        const double wobble = valueNoise(x, y, 9.0, seed) * 1.6;
        const double band = 0.5 + 0.5 * std::sin(ny * 11.0 + wobble);
        surface = mix(surface, shade(look.band, 0.35 + 0.75 * tone), 0.45 * band);
    }
    return surface;
}

}  // namespace

void spaceBackdrop(Canvas& canvas, std::uint32_t seed, bool clouds) {
    canvas.verticalGradient(0, 0, canvas.width(), canvas.height(), palette::kSpaceTop, palette::kSpaceBottom);
    if (clouds) {
        for (int y = 0; y < canvas.height(); ++y) {
            for (int x = 0; x < canvas.width(); ++x) {
                const double n = 0.65 * valueNoise(x, y, 70, seed) + 0.35 * valueNoise(x, y, 23, seed + 1);
                const double amount = clamp01((n - 0.48) * 1.4);
                if (amount <= 0) continue;
                const Colour tint =
                    mix(palette::kNebulaViolet, palette::kNebulaTeal, valueNoise(x, y, 90, seed + 2));
                canvas.blend(x, y, tint, amount * 0.55);
            }
        }
    }
    scatterStars(canvas, Box{0, 0, canvas.width(), canvas.height()}, canvas.width() * canvas.height() / 260,
                 seed + 3);
}

void scatterStars(Canvas& canvas, const Box& area, int count, std::uint32_t seed) {
    static const Colour kTints[] = {{255, 255, 255}, {190, 214, 255}, {255, 236, 200}, {220, 200, 255}};
    Random random(seed);
    for (int i = 0; i < count; ++i) {
        const int x = area.left + random.range(0, area.width());
        const int y = area.top + random.range(0, area.height());
        const Colour tint = kTints[random.range(0, 4)];
        const double brightness = 0.15 + 0.6 * std::pow(random.unit(), 3.0);
        canvas.blend(x, y, tint, brightness);
        if (random.range(0, 40) == 0) {  // a rare brighter star with a faint cross
            canvas.blend(x, y, tint, 0.95);
            for (int d = -1; d <= 1; d += 2) {
                canvas.blend(x + d, y, tint, 0.35);
                canvas.blend(x, y + d, tint, 0.35);
            }
        }
    }
}

void drawPlanet(Canvas& canvas, double cx, double cy, double radius, const PlanetLook& look,
                std::uint32_t seed) {
    if (look.ring.opaque()) drawRingHalf(canvas, cx, cy, radius, look.ring, false);
    const int reach = static_cast<int>(radius) + 5;
    for (int y = static_cast<int>(cy) - reach; y <= cy + reach; ++y) {
        for (int x = static_cast<int>(cx) - reach; x <= cx + reach; ++x) {
            const double nx = (x + 0.5 - cx) / radius, ny = (y + 0.5 - cy) / radius;
            const double d = std::sqrt(nx * nx + ny * ny);
            if (d <= 1.0) {
                canvas.set(x, y, planetSurface(look, nx, ny, x, y, seed));
            } else if (look.atmosphere.opaque() && d < 1.0 + 4.0 / radius) {
                const double falloff = 1.0 - (d - 1.0) * radius / 4.0;
                const double lit = clamp01(0.6 - 0.55 * nx - 0.45 * ny);
                canvas.blend(x, y, look.atmosphere, falloff * falloff * (0.25 + 0.6 * lit));
            }
        }
    }
    if (look.ring.opaque()) drawRingHalf(canvas, cx, cy, radius, look.ring, true);
}

void drawPanel(Canvas& canvas, const Box& box, Colour fill, Colour edge) {
    canvas.fillRect(box.left + 1, box.top + 1, box.width() - 2, box.height() - 2, fill);
    canvas.fillRect(box.left + 1, box.top, box.width() - 2, 1, edge);
    canvas.fillRect(box.left + 1, box.bottom - 1, box.width() - 2, 1, edge);
    canvas.fillRect(box.left, box.top + 1, 1, box.height() - 2, edge);
    canvas.fillRect(box.right - 1, box.top + 1, 1, box.height() - 2, edge);
}

void drawButton(Canvas& canvas, const GlyphSet& glyphs, const Box& box, const std::string& label) {
    drawPanel(canvas, box, palette::kButtonBottom, palette::kButtonOutline);
    const Box face{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
    canvas.verticalGradient(face.left, face.top, face.width(), face.height(), palette::kButtonTop,
                            palette::kButtonBottom);
    canvas.fillRect(face.left + 1, face.top, face.width() - 2, 1, palette::kButtonRim);
    canvas.fillRect(face.left, face.top + 1, 1, face.height() - 2,
                    mix(palette::kButtonRim, palette::kButtonTop, 0.5));
    canvas.fillRect(face.left + 1, face.bottom - 1, face.width() - 2, 1, shade(palette::kButtonBottom, 0.6));
    canvas.fillRect(face.right - 1, face.top + 1, 1, face.height() - 2, shade(palette::kButtonBottom, 0.75));
    TextStyle style;
    style.ink = palette::kLabel;
    style.shadow = palette::kLabelShadow;
    drawTextCentred(canvas, glyphs, label, Box{face.left, face.top, face.right, face.bottom - 1}, style);
}

void drawTitle(Canvas& canvas, const GlyphSet& glyphs, const std::string& text, int centreX, int y,
               int scale) {
    TextStyle style;
    style.scale = scale;
    style.ink = palette::kTitle;
    style.inkBottom = palette::kTitleBottom;
    style.outline = palette::kTitleOutline;
    const int width = textWidth(glyphs, text, Weight::kBold, scale);
    drawText(canvas, glyphs, text, centreX - width / 2, y, style);
}

int drawLines(Canvas& canvas, const GlyphSet& glyphs, const char* const* lines, int x, int y,
              int lineHeight) {
    for (; *lines; ++lines, y += lineHeight) {
        const char* line = *lines;
        TextStyle style;
        style.shadow = palette::kLabelShadow;
        if (line[0] == '!') {  // a heading line
            style.ink = palette::kAccent;
            ++line;
        } else {
            style.weight = Weight::kRegular;
            style.ink = palette::kLabel;
        }
        drawText(canvas, glyphs, line, x, y, style);
    }
    return y;
}

void drawChoiceRing(Canvas& canvas, int x, int y, int size) {
    const double c = size / 2.0, r = size / 2.0;
    canvas.fillCircle(x + c, y + c, r, palette::kButtonOutline);
    canvas.fillCircle(x + c, y + c, r - 1, palette::kPanelEdge);
    canvas.fillCircle(x + c, y + c, r - 3, palette::kButtonOutline);
    canvas.fillCircle(x + c, y + c, r - 4, palette::kPanel);
}

Canvas choiceMarker(int size) {
    Canvas marker(size, size);
    const double c = size / 2.0, r = size / 2.0;
    marker.fillCircle(c, c, r, palette::kButtonOutline);
    marker.fillCircle(c, c, r - 1, palette::kButtonRim);
    marker.fillCircle(c, c, r - 3, palette::kButtonOutline);
    marker.fillCircle(c, c, r - 4, shade(palette::kAccent, 0.55));
    marker.fillCircle(c, c, r - 5, palette::kAccent);
    marker.fillCircle(c - 1.5, c - 1.5, 1.6, Colour(236, 250, 255));
    return marker;
}

Canvas scaled(const Canvas& source, int factor) {
    Canvas big(source.width() * factor, source.height() * factor);
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            big.fillRect(x * factor, y * factor, factor, factor, source.at(x, y));
    return big;
}

}  // namespace art
