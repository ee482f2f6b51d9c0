// Parsing sprite text art.
#include "assetgen/sprite_art.h"

#include <fstream>
#include <sstream>

namespace art {
namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The full row of a mirrored sprite from its left half.
std::string mirrored(const std::string& half, int width) {
    std::string row = half;
    for (int x = static_cast<int>(half.size()) - 1 - (width % 2); x >= 0; --x) row += half[x];
    return row;
}

struct Parser {
    std::string where;
    std::string* error;

    bool fail(const std::string& problem) {
        *error = where + ": " + problem;
        return false;
    }
};

}  // namespace

bool SpriteArt::load(const std::string& path, std::string* error) {
    std::ifstream file(path);
    if (!file) {
        *error = "cannot read " + path;
        return false;
    }
    Parser parser{"", error};
    Sprite* sprite = nullptr;
    bool mirror = false;
    int row = 0;
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        parser.where = path + ":" + std::to_string(number);
        line = trimmed(line);
        if (line.empty() || line[0] == ';') continue;
        std::istringstream words(line);
        std::string word;
        words >> word;
        if (word == "colour") {
            char letter = 0;
            int r = -1, g = -1, b = -1;
            if (!(words >> letter >> r >> g >> b) || letter == '.') return parser.fail("bad colour line");
            palette_[letter] = Colour(r, g, b);
        } else if (word == "sprite") {
            std::string name, flag;
            Sprite fresh;
            if (!(words >> name >> fresh.width >> fresh.height)) return parser.fail("bad sprite line");
            mirror = (words >> flag) && flag == "mirror";
            sprite = &(sprites_[name] = fresh);
            row = fresh.height;
        } else if (word == "frame") {
            if (!sprite) return parser.fail("frame before any sprite");
            if (row != sprite->height) return parser.fail("the previous frame is short of rows");
            sprite->frames.emplace_back(sprite->width, sprite->height);
            row = 0;
        } else {
            if (!sprite || sprite->frames.empty() || row >= sprite->height)
                return parser.fail("unexpected row");
            const std::string full = mirror ? mirrored(line, sprite->width) : line;
            if (static_cast<int>(full.size()) != sprite->width) return parser.fail("row of the wrong length");
            for (int x = 0; x < sprite->width; ++x) {
                if (full[x] == '.') continue;
                auto colour = palette_.find(full[x]);
                if (colour == palette_.end()) return parser.fail(std::string("no colour '") + full[x] + "'");
                sprite->frames.back().set(x, row, colour->second);
            }
            ++row;
        }
    }
    if (sprite && row != sprite->height) return parser.fail("the last frame is short of rows");
    return true;
}

int SpriteArt::frameCount(const std::string& name) const {
    auto found = sprites_.find(name);
    return found == sprites_.end() ? 0 : static_cast<int>(found->second.frames.size());
}

std::string SpriteArt::checkShape(const std::string& name, int frameWidth, int height, int frames) const {
    auto found = sprites_.find(name);
    if (found == sprites_.end()) return "the sprite " + name + " is missing";
    const Sprite& sprite = found->second;
    if (sprite.width != frameWidth || sprite.height != height ||
        static_cast<int>(sprite.frames.size()) != frames) {
        return "the sprite " + name + " must have " + std::to_string(frames) + " frames of " +
               std::to_string(frameWidth) + " x " + std::to_string(height);
    }
    return "";
}

Canvas SpriteArt::frame(const std::string& name, int index) const {
    const Sprite& sprite = sprites_.at(name);
    return sprite.frames.at(static_cast<std::size_t>(index));
}

Canvas SpriteArt::strip(const std::string& name) const {
    const Sprite& sprite = sprites_.at(name);
    Canvas all(sprite.width * static_cast<int>(sprite.frames.size()), sprite.height);
    for (std::size_t k = 0; k < sprite.frames.size(); ++k)
        all.draw(sprite.frames[k], static_cast<int>(k) * sprite.width, 0);
    return all;
}

}  // namespace art
