// gzip and BMP file access of the pack tool; SDL handles the BMP format, zlib the compression.
#include "pak/pak_files.h"

#include <SDL.h>
#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace paktool {
namespace {

constexpr std::uint32_t kRedMask565 = 0xF800, kGreenMask565 = 0x07E0, kBlueMask565 = 0x001F;

struct SurfaceFree {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceFree>;

std::string systemReason() {
    return errno ? std::strerror(errno) : "unknown reason";
}

bool fileReadable(const std::string& path, std::string* error) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        *error = "cannot open " + path + ": " + systemReason();
        return false;
    }
    std::fclose(file);
    return true;
}

std::string gzipProblem(gzFile file) {
    int code = Z_OK;
    const char* message = gzerror(file, &code);
    return message && *message ? message : "gzip error " + std::to_string(code);
}

}  // namespace

bool readPackFile(const std::string& path, std::vector<std::uint8_t>* content, std::string* error) {
    content->clear();
    if (!fileReadable(path, error)) return false;
    gzFile file = gzopen(path.c_str(), "rb");
    if (!file) {
        *error = "cannot open " + path;
        return false;
    }
    std::uint8_t chunk[64 * 1024];
    int got = 0;
    while ((got = gzread(file, chunk, sizeof chunk)) > 0 && content->size() <= kMaxUnpackedBytes) {
        content->insert(content->end(), chunk, chunk + got);
    }
    std::string problem;
    if (got < 0) problem = "the compressed data is damaged (" + gzipProblem(file) + ")";
    if (content->size() > kMaxUnpackedBytes) problem = "it unpacks to more than 64 MB";
    const int closed = gzclose(file);
    if (problem.empty() && closed != Z_OK) problem = "the compressed data is damaged (it ends early)";
    if (problem.empty()) return true;
    *error = path + ": " + problem;
    return false;
}

bool writePackFile(const std::string& path, const std::vector<std::uint8_t>& content, std::string* error) {
    const std::string partial = path + ".partial";
    gzFile file = gzopen(partial.c_str(), "wb9");
    if (!file) {
        *error = "cannot create " + partial + ": " + systemReason();
        return false;
    }
    bool written = content.empty() || gzwrite(file, content.data(), static_cast<unsigned>(content.size())) ==
                                          static_cast<int>(content.size());
    written = (gzclose(file) == Z_OK) && written;
    if (!written || std::rename(partial.c_str(), path.c_str()) != 0) {
        *error = "cannot write " + path + ": " + systemReason();
        std::remove(partial.c_str());
        return false;
    }
    return true;
}

bool loadBmpAs565(const std::string& path, OwnedImage* image, std::string* error) {
    if (!fileReadable(path, error)) return false;
    SurfacePtr loaded(SDL_LoadBMP(path.c_str()));
    if (!loaded) {
        *error = path + " is not a readable BMP file (" + SDL_GetError() + ")";
        return false;
    }
    if (loaded->w > pack::kMaxDimension || loaded->h > pack::kMaxDimension) {
        *error = path + " is larger than " + std::to_string(pack::kMaxDimension) + " pixels";
        return false;
    }
    SurfacePtr packed(SDL_CreateRGBSurface(SDL_SWSURFACE, loaded->w, loaded->h, 16, kRedMask565,
                                           kGreenMask565, kBlueMask565, 0));
    if (!packed) {
        *error = path + ": " + SDL_GetError();
        return false;
    }
    // Copy colours as they are: no blending with whatever alpha the file may carry.
    SDL_SetAlpha(loaded.get(), 0, SDL_ALPHA_OPAQUE);
    SDL_BlitSurface(loaded.get(), nullptr, packed.get(), nullptr);

    const int rowBytes = packed->w * 2;
    image->pixels.resize(static_cast<std::size_t>(rowBytes) * packed->h);
    for (int y = 0; y < packed->h; ++y) {
        std::memcpy(image->pixels.data() + static_cast<std::size_t>(y) * rowBytes,
                    static_cast<const std::uint8_t*>(packed->pixels) + y * packed->pitch, rowBytes);
    }
    pack::RawImage& header = image->header;
    header = pack::RawImage{};
    header.width = packed->w;
    header.height = packed->h;
    header.pitch = static_cast<std::uint16_t>(rowBytes);
    header.bitsPerPixel = 16;
    header.rMask = kRedMask565;
    header.gMask = kGreenMask565;
    header.bMask = kBlueMask565;
    header.pixels = image->pixels.data();
    return true;
}

bool saveAsBmp(const pack::RawImage& image, const std::string& path, std::string* error) {
    // SDL only reads the pixels; the cast is the price of its C interface.
    SurfacePtr wrapped(SDL_CreateRGBSurfaceFrom(const_cast<std::uint8_t*>(image.pixels), image.width,
                                                image.height, image.bitsPerPixel, image.pitch, image.rMask,
                                                image.gMask, image.bMask, image.aMask));
    if (!wrapped || SDL_SaveBMP(wrapped.get(), path.c_str()) != 0) {
        *error = "cannot write " + path + " (" + SDL_GetError() + ")";
        return false;
    }
    return true;
}

}  // namespace paktool
