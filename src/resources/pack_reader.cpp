// Reading image packs: the compressed file read whole, then decompressed one image at a time, each
// converted before the next is read, so that the whole content is never held at once.
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

namespace {

// Every image of `entries` (pack order) converted to the display format into `fresh`. False with
// `problem` on the first damaged entry or, when every entry is sound, the first that would not
// convert.
bool loadEntries(pack::EntryReader& entries, ImageList* fresh, std::string* problem) {
    std::int32_t count = 0;
    if (!entries.readCount(&count, problem)) return false;
    // Grown as the entries come, not sized by a count the content may not hold; what a failed load
    // made is freed with it.
    struct Made {
        std::vector<ImageRecord*> records;
        ~Made() {
            for (ImageRecord* record : records) {
                SDL_FreeSurface(record->surface);
                delete record;
            }
        }
    } made;
    std::string unconverted;
    for (std::int32_t i = 0; i < count; ++i) {
        pack::RawImage raw;
        // One image's pixels, gone once it is converted: the first is the largest, and kept it would
        // add to the peak when every picture is made.
        std::vector<std::uint8_t> pixels;
        if (!entries.readEntry(&raw, unconverted.empty() ? &pixels : nullptr, problem)) return false;
        if (!unconverted.empty()) continue;  // the rest is still checked
        auto* record = new ImageRecord;
        made.records.push_back(record);
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
            unconverted = "image " + std::to_string(i) + ": cannot be converted (" + SDL_GetError() + ")";
        }
    }
    if (!unconverted.empty()) {
        *problem = unconverted;
        return false;
    }
    freeImages(*fresh);
    fresh->records = new ImageRecord*[made.records.size()]();
    fresh->count = static_cast<std::int32_t>(made.records.size());
    std::copy(made.records.begin(), made.records.end(), fresh->records);
    made.records.clear();
    return true;
}

// The images go into a list of their own, which replaces `list` only when whole: a failed load leaves
// the list it was handed, and every surface taken from it, as they were.
void replaceImages(ImageList& list, ImageList& fresh) {
    std::swap(list.count, fresh.count);
    std::swap(list.records, fresh.records);  // `fresh` frees the old images as it goes
}

}  // namespace

bool parsePack(ImageList& list, const std::uint8_t* buffer, std::size_t size, std::string* error) {
    std::size_t at = 0;
    pack::EntryReader entries([&](std::uint8_t* out, std::size_t n) {
        if (size - at < n) return false;
        if (out) std::memcpy(out, buffer + at, n);
        at += n;
        return true;
    });
    ImageList fresh;
    if (!loadEntries(entries, &fresh, error)) return false;
    replaceImages(list, fresh);
    return true;
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
// (bytes after the last one ignored), and a file that is no gzip at all taken as it is. Decompressed
// as it is taken, and never more than `capacity` + 1 bytes, so that too much content shows.
class PackContent {
  public:
    PackContent(const std::string& file, std::size_t capacity)
        : file_(file), capacity_(capacity), gzip_(startsGzip(file, 0)) {
        // 16: a gzip wrapper, not a zlib one
        inflating_ = gzip_ && inflateInit2(&stream_, 16 + MAX_WBITS) == Z_OK;
        if (gzip_ && !inflating_) problem_ = "out of memory";
    }
    ~PackContent() {
        if (inflating_) inflateEnd(&stream_);
    }
    PackContent(const PackContent&) = delete;
    PackContent& operator=(const PackContent&) = delete;

    // The next `n` bytes at `out` (skipped when `out` is null); false when the content ends first.
    bool take(std::uint8_t* out, std::size_t n) {
        std::uint8_t scratch[4096];
        while (n > 0) {
            const std::size_t room = std::min({n, capacity_ + 1 - done_, out ? n : sizeof scratch});
            const std::size_t got = room == 0 ? 0 : produce(out ? out : scratch, room);
            if (got == 0) return false;
            done_ += got;
            n -= got;
            if (out) out += got;
        }
        return true;
    }
    // Reads what is left, so that damage or excess after the last image shows too.
    void drain() {
        while (take(nullptr, capacity_ + 1)) {
        }
    }
    // After drain(): the damage found, in words ("" when none), and whether there is more than
    // `capacity` bytes.
    const std::string& problem() const { return problem_; }
    bool full() const { return done_ > capacity_; }

  private:
    // Up to `room` bytes more of the content at `out`; 0 at its end or on damage.
    std::size_t produce(std::uint8_t* out, std::size_t room) {
        if (!problem_.empty() || ended_) return 0;
        if (!gzip_) {
            const std::size_t n = std::min(room, file_.size() - at_);
            std::memcpy(out, file_.data() + at_, n);
            at_ += n;
            return n;
        }
        for (;;) {
            // inflate takes unsigned counts; the file and the pieces are far below their limit.
            stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(file_.data() + at_));
            stream_.avail_in = static_cast<uInt>(file_.size() - at_);
            stream_.next_out = out;
            stream_.avail_out = static_cast<uInt>(room);
            const int status = inflate(&stream_, Z_NO_FLUSH);
            at_ = file_.size() - stream_.avail_in;
            const std::size_t got = room - stream_.avail_out;
            if (status == Z_STREAM_END) {
                // The next member, if one follows; anything else after it is not content.
                if (startsGzip(file_, at_)) {
                    inflateReset(&stream_);
                } else {
                    ended_ = true;
                }
                if (got > 0 || ended_) return got;
                continue;
            }
            if (status == Z_OK) {
                if (got > 0) return got;
                continue;  // input taken (a member's header) with nothing out yet
            }
            // Z_BUF_ERROR: no progress with room to write, so the input ran out inside a member.
            problem_ = status == Z_BUF_ERROR ? "unexpected end of file"
                       : stream_.msg         ? stream_.msg
                                             : "bad data";
            return got;
        }
    }

    const std::string& file_;
    const std::size_t capacity_;
    const bool gzip_;
    z_stream stream_{};
    std::size_t at_ = 0;    // of the file
    std::size_t done_ = 0;  // bytes of content taken
    bool inflating_ = false;
    bool ended_ = false;
    std::string problem_;
};

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
    PackContent content(file, capacity);
    pack::EntryReader entries([&content](std::uint8_t* out, std::size_t n) { return content.take(out, n); });
    ImageList fresh;
    std::string damage;
    const bool loaded = loadEntries(entries, &fresh, &damage);
    content.drain();
    std::string problem;
    if (!content.problem().empty()) {
        problem = "it is damaged (" + content.problem() + ")";
    } else if (read == platform::FileRead::Cut || content.full()) {
        problem = "it holds more than " + std::to_string(capacity) + " bytes";
    } else if (!loaded) {
        problem = "it is damaged (" + damage + ")";
    } else {
        replaceImages(list, fresh);
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
