// Sprite strips drawn as text art: a palette of one-letter colours and frames of rows.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "assetgen/canvas.h"

namespace art {

// The art file holds lines
//   colour <letter> <red> <green> <blue>
//   sprite <name> <frame width> <height> [mirror]
//   frame
//   <height rows of palette letters; '.' is transparent>
// A "mirror" sprite gives only the left half of each row (the centre column included when the width
// is odd); the right half is its mirror image. ';' starts a comment line.
class SpriteArt {
  public:
    bool load(const std::string& path, std::string* error);

    bool has(const std::string& name) const { return sprites_.count(name) != 0; }
    int frameCount(const std::string& name) const;
    // Empty when `name` exists with exactly that frame size and number of frames, else the problem.
    std::string checkShape(const std::string& name, int frameWidth, int height, int frames) const;
    // One frame, or every frame side by side (frame k at x = k x frame width).
    Canvas frame(const std::string& name, int index) const;
    Canvas strip(const std::string& name) const;

  private:
    struct Sprite {
        int width = 0, height = 0;
        std::vector<Canvas> frames;
    };
    std::map<char, Colour> palette_;
    std::map<std::string, Sprite> sprites_;
};

}  // namespace art
