// Reading image packs: one gzread into a buffer of fixed capacity, then one conversion per image.
#include "resources/pack_reader.h"

#include <zlib.h>

#include <cstring>
#include <memory>
#include <vector>

#include "platform/platform.h"
#include "resources/pack_format.h"
#include "shell/shell.h"

const char* const kSplashPackName = "\\data\\0";
const char* const kMainPackName = "//data//1";

ImageList::~ImageList() {
    freeImages(*this);
}

PackReader& packReader() {
    static PackReader reader(PackReader::kRead);
    return reader;
}

namespace {

SDL_Surface* convertToDisplay(const pack::RawImage& raw) {
    // SDL wraps the pixels without copying; the copy lives only while the image is converted.
    const std::size_t bytes = static_cast<std::size_t>(raw.pitch) * raw.height;
    std::unique_ptr<std::uint8_t[]> pixels(new std::uint8_t[bytes]);
    std::memcpy(pixels.get(), raw.pixels, bytes);
    SDL_Surface* wrapped = SDL_CreateRGBSurfaceFrom(pixels.get(), raw.width, raw.height, raw.bitsPerPixel,
                                                    raw.pitch, raw.rMask, raw.gMask, raw.bMask, raw.aMask);
    if (!wrapped) return nullptr;
    SDL_Surface* converted = platform::convertPicture(wrapped, raw.hasAlpha);
    SDL_FreeSurface(wrapped);
    return converted;
}

}  // namespace

bool parsePack(ImageList& list, const std::uint8_t* buffer, std::size_t size, std::string* error) {
    freeImages(list);
    std::vector<pack::RawImage> raws;
    if (!pack::decode(buffer, size, &raws, error)) return false;

    list.records = new ImageRecord*[raws.size()]();
    list.count = static_cast<std::int32_t>(raws.size());
    for (std::size_t i = 0; i < raws.size(); ++i) {
        const pack::RawImage& raw = raws[i];
        auto* record = new ImageRecord;
        list.records[i] = record;
        record->hasAlpha = raw.hasAlpha;
        record->width = raw.width;
        record->height = raw.height;
        record->pitch = raw.pitch;
        record->bitsPerPixel = raw.bitsPerPixel;
        record->rMask = raw.rMask;
        record->gMask = raw.gMask;
        record->bMask = raw.bMask;
        record->aMask = raw.aMask;
        record->surface = convertToDisplay(raw);
        if (!record->surface) {
            *error = "image " + std::to_string(i) + ": cannot be converted (" + SDL_GetError() + ")";
            freeImages(list);
            return false;
        }
    }
    return true;
}

std::string packPath(const char* name) {
    return dataFile(std::string(name) + ".pak");
}

bool readPack(const PackReader& reader, ImageList& list, const char* name, std::size_t capacity,
              std::string* error) {
    return readPackFile(reader, list, packPath(name), capacity, error);
}

bool readPackFile(const PackReader& reader, ImageList& list, const std::string& path, std::size_t capacity,
                  std::string* error) {
    if (reader.mode != PackReader::kRead) return true;
    gzFile file = gzopen(path.c_str(), "r");
    if (!file) {
        *error = "Cannot open " + path + ": the file is missing or unreadable.";
        return false;
    }
    // One byte more than the capacity tells a pack that is too large from one that fills it exactly.
    // Left uninitialised: only the pages the content fills are ever touched.
    std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[capacity + 1]);
    const int got = gzread(file, buffer.get(), static_cast<unsigned>(capacity + 1));
    int zlibError = Z_OK;
    const char* zlibMessage = gzerror(file, &zlibError);
    const std::string zlibText = zlibMessage ? zlibMessage : "";
    gzclose(file);

    std::string problem;
    if (got < 0 || (zlibError != Z_OK && zlibError != Z_STREAM_END)) {
        problem = "it is damaged (" + zlibText + ")";
    } else if (static_cast<std::size_t>(got) > capacity) {
        problem = "it holds more than " + std::to_string(capacity) + " bytes";
    } else if (!parsePack(list, buffer.get(), static_cast<std::size_t>(got), &problem)) {
        problem = "it is damaged (" + problem + ")";
    }
    if (problem.empty()) return true;
    *error = "Cannot load " + path + ": " + problem + ".";
    return false;
}

void freeImages(ImageList& list) {
    for (std::int32_t i = 0; i < list.count; ++i) {
        if (!list.records[i]) continue;
        SDL_FreeSurface(list.records[i]->surface);
        delete list.records[i];
    }
    delete[] list.records;
    list.records = nullptr;
    list.count = 0;
}
