// A small RGBA drawing surface for the asset generator: every picture of the game is painted on one.
#pragma once

#include <cstdint>
#include <vector>

namespace art {

struct Colour {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;  // a: 255 opaque, 0 transparent
    constexpr Colour() = default;
    constexpr Colour(int red, int green, int blue, int alpha = 255)
        : r(static_cast<std::uint8_t>(red)),
          g(static_cast<std::uint8_t>(green)),
          b(static_cast<std::uint8_t>(blue)),
          a(static_cast<std::uint8_t>(alpha)) {}
    bool operator==(const Colour& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
    bool operator!=(const Colour& o) const { return !(*this == o); }
    bool opaque() const { return a != 0; }
};

constexpr Colour kClear{0, 0, 0, 0};

// Linear mix: t = 0 gives `from`, t = 1 gives `to` (opaque result).
Colour mix(Colour from, Colour to, double t);
// The colour scaled in brightness by `factor` (1 keeps it).
Colour shade(Colour c, double factor);

class Canvas {
  public:
    Canvas() = default;
    Canvas(int width, int height, Colour fill = kClear);

    int width() const { return width_; }
    int height() const { return height_; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    Colour at(int x, int y) const { return inside(x, y) ? pixels_[index(x, y)] : kClear; }

    // All drawing is clipped to the canvas.
    void set(int x, int y, Colour c);
    void blend(int x, int y, Colour c, double amount);  // mixes c over the pixel by `amount` (0..1)
    void fillRect(int x, int y, int w, int h, Colour c);
    void frameRect(int x, int y, int w, int h, Colour c);
    void line(int x0, int y0, int x1, int y1, Colour c);
    void fillCircle(double cx, double cy, double radius, Colour c);
    void verticalGradient(int x, int y, int w, int h, Colour top, Colour bottom);
    // Copies the opaque pixels of `source` with its top-left corner at (x, y).
    void draw(const Canvas& source, int x, int y);
    // The w x h part of this canvas at (x, y) as a new canvas.
    Canvas crop(int x, int y, int w, int h) const;

  private:
    int index(int x, int y) const { return y * width_ + x; }
    int width_ = 0, height_ = 0;
    std::vector<Colour> pixels_;
};

// A rectangle in the game's hot-spot convention: left and top inside, right and bottom outside.
struct Box {
    int left, top, right, bottom;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

}  // namespace art
