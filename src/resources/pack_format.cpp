// Bounds-checked decoding and encoding of the image pack layout (all integers little-endian).
#include "resources/pack_format.h"

#include <algorithm>
#include <cstring>

namespace pack {
namespace {

std::uint32_t readLe(const std::uint8_t* p, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | p[i];
    return value;
}

void writeLe(std::vector<std::uint8_t>* out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out->push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

RawImage readHeader(const std::uint8_t* p) {
    RawImage image;
    image.hasAlpha = static_cast<std::int32_t>(readLe(p, 4));
    image.width = static_cast<std::int32_t>(readLe(p + 4, 4));
    image.height = static_cast<std::int32_t>(readLe(p + 8, 4));
    image.pitch = static_cast<std::uint16_t>(readLe(p + 12, 2));
    image.bitsPerPixel = p[14];
    image.rMask = readLe(p + 15, 4);
    image.gMask = readLe(p + 19, 4);
    image.bMask = readLe(p + 23, 4);
    image.aMask = readLe(p + 27, 4);
    return image;
}

}  // namespace

std::string checkHeader(const RawImage& image) {
    switch (image.bitsPerPixel) {
        case 8:
        case 15:
        case 16:
        case 24:
        case 32:
            break;
        default:
            return "unsupported depth of " + std::to_string(image.bitsPerPixel) + " bits";
    }
    if (image.width < 1 || image.width > kMaxDimension || image.height < 1 || image.height > kMaxDimension) {
        return "bad size " + std::to_string(image.width) + " x " + std::to_string(image.height);
    }
    // SDL reads whole bytes per pixel: a 15-bit pixel takes 2 bytes, like a 16-bit one.
    const long rowBytes = static_cast<long>(image.width) * ((image.bitsPerPixel + 7) / 8);
    if (image.pitch < rowBytes) {
        return "row length " + std::to_string(image.pitch) + " too short for its width";
    }
    return "";
}

bool EntryReader::readCount(std::int32_t* count, std::string* error) {
    std::uint8_t bytes[4];
    if (!take_(bytes, sizeof bytes)) {
        *error = "no image count";
        return false;
    }
    *count = static_cast<std::int32_t>(readLe(bytes, 4));
    if (*count < 0) {
        *error = "negative image count " + std::to_string(*count);
        return false;
    }
    return true;
}

bool EntryReader::readEntry(RawImage* image, std::vector<std::uint8_t>* pixels, std::string* error) {
    const std::string where = "image " + std::to_string(index_++) + ": ";
    std::uint8_t header[kHeaderSize];
    if (!take_(header, kHeaderSize)) {
        *error = where + "the pack ends inside its header";
        return false;
    }
    *image = readHeader(header);
    const std::string problem = checkHeader(*image);
    if (!problem.empty()) {
        *error = where + problem;
        return false;
    }
    // Taken a piece at a time, so that a damaged header cannot make us hold more than the content has;
    // a piece holds any of the game's pictures, so they take no more room than their own.
    constexpr std::size_t kPiece = 1 << 18;
    const std::size_t total = pixelBytes(*image);
    if (pixels) pixels->clear();
    for (std::size_t done = 0; done < total;) {
        const std::size_t n = std::min(kPiece, total - done);
        std::uint8_t* into = nullptr;
        if (pixels) {
            if (pixels->capacity() < done + n) pixels->reserve(std::max(done + n, 2 * pixels->capacity()));
            pixels->resize(done + n);
            into = pixels->data() + done;
        }
        if (!take_(into, n)) {
            *error = where + "the pack ends inside its pixels";
            return false;
        }
        done += n;
    }
    image->pixels = pixels ? pixels->data() : nullptr;
    return true;
}

bool decode(const std::uint8_t* data, std::size_t size, std::vector<RawImage>* images, std::string* error) {
    images->clear();
    std::size_t at = 0;
    EntryReader reader([&](std::uint8_t* out, std::size_t n) {
        if (size - at < n) return false;
        if (out) std::memcpy(out, data + at, n);
        at += n;
        return true;
    });
    std::int32_t count = 0;
    if (!reader.readCount(&count, error)) return false;
    for (std::int32_t index = 0; index < count; ++index) {
        RawImage image;
        if (!reader.readEntry(&image, nullptr, error)) return false;
        image.pixels = data + at - pixelBytes(image);  // in place: nothing is copied
        images->push_back(image);
    }
    return true;
}

void appendCount(std::vector<std::uint8_t>* out, std::int32_t count) {
    writeLe(out, static_cast<std::uint32_t>(count), 4);
}

void appendImage(std::vector<std::uint8_t>* out, const RawImage& image) {
    writeLe(out, static_cast<std::uint32_t>(image.hasAlpha), 4);
    writeLe(out, static_cast<std::uint32_t>(image.width), 4);
    writeLe(out, static_cast<std::uint32_t>(image.height), 4);
    writeLe(out, image.pitch, 2);
    out->push_back(image.bitsPerPixel);
    writeLe(out, image.rMask, 4);
    writeLe(out, image.gMask, 4);
    writeLe(out, image.bMask, 4);
    writeLe(out, image.aMask, 4);
    const std::size_t bytes = image.height > 0 ? static_cast<std::size_t>(image.pitch) * image.height : 0;
    if (image.pixels) out->insert(out->end(), image.pixels, image.pixels + bytes);
}

}  // namespace pack
