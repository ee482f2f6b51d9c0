// Helpers of the tool tests: scratch folders, test bitmaps, and reading packs back.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "resources/pack_format.h"

namespace tooltest {

// A fresh empty folder under the temporary folder.
std::string scratchFolder();

// A file of the generated data folder.
std::string dataFile(const std::string& name);

// A decoded pack: the decompressed content and the image headers pointing into it.
struct Pack {
    std::vector<std::uint8_t> content;
    std::vector<pack::RawImage> images;
};
// Reads and decodes a pack; an empty `error` means success.
Pack readPack(const std::string& path, std::string* error);

struct Rgb {
    int r, g, b;
};
// Colour of a pixel of a 16-bit 565 pack picture, as 5-6-5 bit channel values.
Rgb pixel565(const pack::RawImage& image, int x, int y);
std::uint16_t raw565(const pack::RawImage& image, int x, int y);
// The 565 value the game's conversion gives a 24-bit colour.
std::uint16_t to565(int r, int g, int b);

// Writes a 24-bit BMP of w x h whose pixel (x, y) has the colour `colourAt(x, y)` (0xRRGGBB).
void writeTestBmp(const std::string& path, int w, int h, std::uint32_t (*colourAt)(int x, int y));

// Reads a whole file.
std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);

}  // namespace tooltest
