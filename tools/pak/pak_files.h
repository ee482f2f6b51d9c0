// File access of the pack tool: gzip pack files in and out, BMP files in and out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "resources/pack_format.h"

namespace paktool {

// Larger than any pack the game reads (2,000,000 bytes), small enough to refuse a runaway stream.
constexpr std::size_t kMaxUnpackedBytes = 64u * 1024u * 1024u;

// One picture in the pack's layout that owns its pixel rows.
struct OwnedImage {
    pack::RawImage header;  // header.pixels points into `pixels`
    std::vector<std::uint8_t> pixels;
};

// Reads and decompresses a whole pack file (a file without a gzip header is taken as it is).
bool readPackFile(const std::string& path, std::vector<std::uint8_t>* content, std::string* error);

// Writes `content` gzip-compressed to `path`; an existing file is replaced only once the new one is
// complete.
bool writePackFile(const std::string& path, const std::vector<std::uint8_t>& content, std::string* error);

// Loads a BMP file as an opaque 16-bit picture (red 5, green 6, blue 5 bits).
bool loadBmpAs565(const std::string& path, OwnedImage* image, std::string* error);

// Writes one pack picture as a BMP file.
bool saveAsBmp(const pack::RawImage& image, const std::string& path, std::string* error);

}  // namespace paktool
