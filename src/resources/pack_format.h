// The decompressed layout of an image pack, decoded without SDL so that the game and the pack
// tool share one bounds-checked reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace pack {

constexpr std::size_t kHeaderSize = 31;  // bytes of one entry before its pixel rows
constexpr int kMaxDimension = 4096;      // wider or taller than any picture the game can show

struct RawImage {
    std::int32_t hasAlpha = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t pitch = 0;
    std::uint8_t bitsPerPixel = 0;
    std::uint32_t rMask = 0, gMask = 0, bMask = 0, aMask = 0;
    const std::uint8_t* pixels = nullptr;  // pitch x height bytes inside the decoded buffer
};

// Checks one entry's header: a depth SDL can wrap (8, 15, 16, 24 or 32 bits), a width and height
// from 1 to kMaxDimension, a pitch that holds a row. Empty when sound, else the problem in words.
std::string checkHeader(const RawImage& image);

// Reads a pack's entries in order from any source of its content, so that a reader need hold no more
// than one image's pixels at a time.
class EntryReader {
  public:
    // Puts the content's next `n` bytes at `out` (skips them when `out` is null); false when the
    // content ends first.
    using Take = std::function<bool(std::uint8_t* out, std::size_t n)>;
    explicit EntryReader(Take take) : take_(std::move(take)) {}

    // The image count, read first; false with `error`.
    bool readCount(std::int32_t* count, std::string* error);
    // The next entry: its header, checked, and its pixel rows into `pixels` (skipped when null), which
    // `image->pixels` then points at. False with `error` naming the problem and the entry.
    bool readEntry(RawImage* image, std::vector<std::uint8_t>* pixels, std::string* error);

  private:
    Take take_;
    std::int32_t index_ = 0;
};

// Bytes of an entry's pixel rows.
inline std::size_t pixelBytes(const RawImage& image) {
    return static_cast<std::size_t>(image.pitch) * static_cast<std::size_t>(image.height);
}

// Decodes the image count and every entry header of `size` bytes at `data`, never reading past them.
// Returns false with `error` naming the problem and the entry; `images` then holds the good ones.
bool decode(const std::uint8_t* data, std::size_t size, std::vector<RawImage>* images, std::string* error);

// Appends one entry (header and pixel rows) to a pack being written.
void appendImage(std::vector<std::uint8_t>* out, const RawImage& image);

// Starts a pack of `count` images.
void appendCount(std::vector<std::uint8_t>* out, std::int32_t count);

}  // namespace pack
