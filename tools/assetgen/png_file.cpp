// A minimal PNG writer: one IDAT chunk of zlib-compressed rows, each with filter type 0.
#include "assetgen/png_file.h"

#include <zlib.h>

#include <fstream>
#include <vector>

namespace art {
namespace {

void putBigEndian(std::vector<std::uint8_t>* out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out->push_back(static_cast<std::uint8_t>(value >> shift));
}

void putChunk(std::vector<std::uint8_t>* out, const char type[4], const std::vector<std::uint8_t>& data) {
    putBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out->size();
    out->insert(out->end(), type, type + 4);
    out->insert(out->end(), data.begin(), data.end());
    // The checksum covers the type and the data.
    const uLong crc = crc32(0, out->data() + start, static_cast<uInt>(out->size() - start));
    putBigEndian(out, static_cast<std::uint32_t>(crc));
}

}  // namespace

bool writePng(const Canvas& picture, const std::string& path, std::string* error) {
    const int w = picture.width(), h = picture.height();
    std::vector<std::uint8_t> rows;
    for (int y = 0; y < h; ++y) {
        rows.push_back(0);
        for (int x = 0; x < w; ++x) {
            const Colour c = picture.at(x, y);
            rows.insert(rows.end(), {c.r, c.g, c.b, c.a});
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, rows.data(), static_cast<uLong>(rows.size()), 9) != Z_OK) {
        *error = "cannot compress " + path;
        return false;
    }
    packed.resize(packedSize);

    std::vector<std::uint8_t> header;
    putBigEndian(&header, static_cast<std::uint32_t>(w));
    putBigEndian(&header, static_cast<std::uint32_t>(h));
    header.insert(header.end(),
                  {8, 6, 0, 0, 0});  // 8 bits a channel, RGBA, deflate, no filter set, no interlace
    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    putChunk(&out, "IHDR", header);
    putChunk(&out, "IDAT", packed);
    putChunk(&out, "IEND", {});

    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    if (file.good()) return true;
    *error = "cannot write " + path;
    return false;
}

}  // namespace art
