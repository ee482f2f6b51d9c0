// Reading image packs: the file read whole, decompressed into a buffer of fixed capacity, then one
// conversion per image.
#include "resources/pack_reader.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "resources/data_files.h"
#include "resources/pack_format.h"

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
    // SDL wraps the decoded pixels, which it only reads, while the image is converted.
    SDL_Surface* wrapped =
        SDL_CreateRGBSurfaceFrom(const_cast<std::uint8_t*>(raw.pixels), raw.width, raw.height,
                                 raw.bitsPerPixel, raw.pitch, raw.rMask, raw.gMask, raw.bMask, raw.aMask);
    if (!wrapped) return nullptr;
    SDL_Surface* converted = platform::convertPicture(wrapped, raw.hasAlpha);
    SDL_FreeSurface(wrapped);
    return converted;
}

}  // namespace

bool parsePack(ImageList& list, const std::uint8_t* buffer, std::size_t size, std::string* error) {
    std::vector<pack::RawImage> raws;
    if (!pack::decode(buffer, size, &raws, error)) return false;

    // The images go into a list of their own, which replaces `list` only when whole: a failed load leaves
    // the list it was handed, and every surface taken from it, as they were.
    ImageList fresh;
    fresh.records = new ImageRecord*[raws.size()]();
    fresh.count = static_cast<std::int32_t>(raws.size());
    for (std::size_t i = 0; i < raws.size(); ++i) {
        const pack::RawImage& raw = raws[i];
        auto* record = new ImageRecord;
        fresh.records[i] = record;
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
            return false;
        }
    }
    std::swap(list.count, fresh.count);
    std::swap(list.records, fresh.records);
    return true;  // `fresh` frees the old images as it goes
}

std::string packPath(const char* name) {
    return dataFile(std::string(name) + ".pak");
}

bool readPack(const PackReader& reader, ImageList& list, const char* name, std::size_t capacity,
              std::string* error) {
    return readPackFile(reader, list, packPath(name), capacity, error);
}

namespace {

constexpr unsigned char kGzipMagic[] = {0x1f, 0x8b};

bool startsGzip(const std::string& bytes, std::size_t at) {
    return bytes.size() - at >= 2 && static_cast<unsigned char>(bytes[at]) == kGzipMagic[0] &&
           static_cast<unsigned char>(bytes[at + 1]) == kGzipMagic[1];
}

// The content of a pack file as zlib's file reading gives it: each gzip member decompressed in turn
// (bytes after the last one ignored), and a file that is no gzip at all taken as it is. Fills at most
// `capacity` + 1 bytes of `out`, so that too much content shows; false with `problem` when a member
// is damaged or cut short.
bool decompress(const std::string& file, std::uint8_t* out, std::size_t capacity, std::size_t* got,
                std::string* problem) {
    if (!startsGzip(file, 0)) {
        *got = std::min(file.size(), capacity + 1);
        std::memcpy(out, file.data(), *got);
        return true;
    }
    z_stream stream{};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) {  // 16: a gzip wrapper, not a zlib one
        *problem = "out of memory";
        return false;
    }
    std::size_t at = 0, done = 0;
    int status = Z_OK;
    while (done <= capacity && startsGzip(file, at)) {
        // inflate takes unsigned counts; the file and the buffer are far below their limit.
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(file.data() + at));
        stream.avail_in = static_cast<uInt>(file.size() - at);
        stream.next_out = out + done;
        stream.avail_out = static_cast<uInt>(capacity + 1 - done);
        status = inflate(&stream, Z_FINISH);
        at = file.size() - stream.avail_in;
        done = capacity + 1 - stream.avail_out;
        if (status != Z_STREAM_END) break;
        inflateReset(&stream);
    }
    const bool full = done > capacity;
    if (status != Z_STREAM_END && !full) {
        *problem = status == Z_BUF_ERROR ? "unexpected end of file" : stream.msg ? stream.msg : "bad data";
    }
    inflateEnd(&stream);
    *got = done;
    return problem->empty();
}

}  // namespace

bool readPackFile(const PackReader& reader, ImageList& list, const std::string& path, std::size_t capacity,
                  std::string* error) {
    if (reader.mode != PackReader::kRead) return true;
    // A gzip file holding `capacity` bytes is hardly larger than they are; room for twice as many.
    std::string file;
    const platform::FileRead read = platform::readFile(path, 2 * capacity + 1024, &file);
    if (read != platform::FileRead::Whole && read != platform::FileRead::Cut) {
        *error = "Cannot open " + path + ": the file is missing or unreadable.";
        return false;
    }
    // One byte more than the capacity tells a pack that is too large from one that fills it exactly.
    // Left uninitialised: only the pages the content fills are ever touched.
    std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[capacity + 1]);
    std::size_t got = 0;
    std::string problem;
    if (!decompress(file, buffer.get(), capacity, &got, &problem)) {
        problem = "it is damaged (" + problem + ")";
    } else if (read == platform::FileRead::Cut || got > capacity) {
        problem = "it holds more than " + std::to_string(capacity) + " bytes";
    } else if (!parsePack(list, buffer.get(), got, &problem)) {
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
