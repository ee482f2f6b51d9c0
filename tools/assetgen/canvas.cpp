// Canvas drawing primitives; integer pixels, clipped, no anti-aliasing except in blend.
#include "assetgen/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace art {
namespace {

std::uint8_t channel(double value) {
    return static_cast<std::uint8_t>(std::clamp(static_cast<int>(std::lround(value)), 0, 255));
}

}  // namespace

Colour mix(Colour from, Colour to, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return Colour(channel(from.r + (to.r - from.r) * t), channel(from.g + (to.g - from.g) * t),
                  channel(from.b + (to.b - from.b) * t));
}

Colour shade(Colour c, double factor) {
    return Colour(channel(c.r * factor), channel(c.g * factor), channel(c.b * factor), c.a);
}

Canvas::Canvas(int width, int height, Colour fill)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, fill) {}

void Canvas::set(int x, int y, Colour c) {
    if (inside(x, y)) pixels_[index(x, y)] = c;
}

void Canvas::blend(int x, int y, Colour c, double amount) {
    if (!inside(x, y)) return;
    Colour& pixel = pixels_[index(x, y)];
    pixel = pixel.opaque() ? mix(pixel, c, amount) : Colour(c.r, c.g, c.b);
}

void Canvas::fillRect(int x, int y, int w, int h, Colour c) {
    for (int row = y; row < y + h; ++row)
        for (int col = x; col < x + w; ++col) set(col, row, c);
}

void Canvas::frameRect(int x, int y, int w, int h, Colour c) {
    fillRect(x, y, w, 1, c);
    fillRect(x, y + h - 1, w, 1, c);
    fillRect(x, y, 1, h, c);
    fillRect(x + w - 1, y, 1, h, c);
}

void Canvas::line(int x0, int y0, int x1, int y1, Colour c) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        set(x0, y0, c);
        if (x0 == x1 && y0 == y1) return;
        const int twice = 2 * error;
        if (twice >= dy) error += dy, x0 += sx;
        if (twice <= dx) error += dx, y0 += sy;
    }
}

void Canvas::fillCircle(double cx, double cy, double radius, Colour c) {
    const int x0 = static_cast<int>(std::floor(cx - radius)), x1 = static_cast<int>(std::ceil(cx + radius));
    const int y0 = static_cast<int>(std::floor(cy - radius)), y1 = static_cast<int>(std::ceil(cy + radius));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const double ddx = x + 0.5 - cx, ddy = y + 0.5 - cy;
            if (ddx * ddx + ddy * ddy <= radius * radius) set(x, y, c);
        }
    }
}

void Canvas::verticalGradient(int x, int y, int w, int h, Colour top, Colour bottom) {
    for (int row = 0; row < h; ++row) {
        fillRect(x, y + row, w, 1, mix(top, bottom, h > 1 ? static_cast<double>(row) / (h - 1) : 0.0));
    }
}

void Canvas::draw(const Canvas& source, int x, int y) {
    for (int row = 0; row < source.height(); ++row) {
        for (int col = 0; col < source.width(); ++col) {
            const Colour c = source.at(col, row);
            if (c.opaque()) set(x + col, y + row, c);
        }
    }
}

Canvas Canvas::crop(int x, int y, int w, int h) const {
    Canvas part(w, h);
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col) part.set(col, row, at(x + col, y + row));
    return part;
}

}  // namespace art
