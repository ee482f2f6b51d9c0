// Bounds-checked decoding and encoding of the image pack layout (all integers little-endian).
#include "resources/pack_format.h"

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

bool decode(const std::uint8_t* data, std::size_t size, std::vector<RawImage>* images, std::string* error) {
    images->clear();
    if (size < 4) {
        *error = "no image count";
        return false;
    }
    const std::int32_t count = static_cast<std::int32_t>(readLe(data, 4));
    if (count < 0) {
        *error = "negative image count " + std::to_string(count);
        return false;
    }
    std::size_t at = 4;
    for (std::int32_t index = 0; index < count; ++index) {
        const std::string where = "image " + std::to_string(index) + ": ";
        if (size - at < kHeaderSize) {
            *error = where + "the pack ends inside its header";
            return false;
        }
        RawImage image = readHeader(data + at);
        at += kHeaderSize;
        const std::string problem = checkHeader(image);
        if (!problem.empty()) {
            *error = where + problem;
            return false;
        }
        const std::size_t pixelBytes = static_cast<std::size_t>(image.pitch) * image.height;
        if (size - at < pixelBytes) {
            *error = where + "the pack ends inside its pixels";
            return false;
        }
        image.pixels = data + at;
        at += pixelBytes;
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
