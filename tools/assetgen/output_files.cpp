// Byte-level BMP and WAV writers (little-endian, no compression).
#include "assetgen/output_files.h"

#include <fstream>

namespace art {
namespace {

void put(std::vector<std::uint8_t>* out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out->push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void putText(std::vector<std::uint8_t>* out, const char* text) {
    while (*text) out->push_back(static_cast<std::uint8_t>(*text++));
}

bool save(const std::vector<std::uint8_t>& bytes, const std::string& path, std::string* error) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (file.good()) return true;
    *error = "cannot write " + path;
    return false;
}

Colour visibleAgainst(Colour c, Colour key) {
    if (!sameIn16Bit(c, key)) return c;
    return Colour(c.r, c.g >= 128 ? c.g - 4 : c.g + 4, c.b);
}

}  // namespace

bool sameIn16Bit(Colour a, Colour b) {
    return (a.r >> 3) == (b.r >> 3) && (a.g >> 2) == (b.g >> 2) && (a.b >> 3) == (b.b >> 3);
}

bool writeBmp(const Canvas& picture, const std::string& path, Colour key, std::string* error) {
    const int w = picture.width(), h = picture.height();
    const int rowBytes = (w * 3 + 3) & ~3;
    const std::uint32_t pixelBytes = static_cast<std::uint32_t>(rowBytes) * h;
    std::vector<std::uint8_t> out;
    out.reserve(54 + pixelBytes);
    putText(&out, "BM");
    put(&out, 54 + pixelBytes, 4);
    put(&out, 0, 4);
    put(&out, 54, 4);  // pixel data offset
    put(&out, 40, 4);  // info header size
    put(&out, static_cast<std::uint32_t>(w), 4);
    put(&out, static_cast<std::uint32_t>(h), 4);  // positive: rows stored bottom-up
    put(&out, 1, 2);
    put(&out, 24, 2);
    put(&out, 0, 4);  // no compression
    put(&out, pixelBytes, 4);
    put(&out, 2835, 4);  // 72 dots per inch
    put(&out, 2835, 4);
    put(&out, 0, 4);
    put(&out, 0, 4);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const Colour c = picture.at(x, y);
            const Colour stored = c.opaque() ? visibleAgainst(c, key) : key;
            out.push_back(stored.b);
            out.push_back(stored.g);
            out.push_back(stored.r);
        }
        for (int pad = w * 3; pad < rowBytes; ++pad) out.push_back(0);
    }
    return save(out, path, error);
}

bool writeWav(const std::vector<std::int16_t>& samples, int sampleRate, const std::string& path,
              std::string* error) {
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<std::uint8_t> out;
    putText(&out, "RIFF");
    put(&out, 36 + dataBytes, 4);
    putText(&out, "WAVEfmt ");
    put(&out, 16, 4);
    put(&out, 1, 2);  // PCM
    put(&out, 1, 2);  // mono
    put(&out, static_cast<std::uint32_t>(sampleRate), 4);
    put(&out, static_cast<std::uint32_t>(sampleRate * 2), 4);
    put(&out, 2, 2);
    put(&out, 16, 2);
    putText(&out, "data");
    put(&out, dataBytes, 4);
    for (std::int16_t sample : samples) put(&out, static_cast<std::uint16_t>(sample), 2);
    return save(out, path, error);
}

}  // namespace art
