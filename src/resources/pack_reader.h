// Image packs: gzip-compressed series of raw pixel images, turned into display-format surfaces.
#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <string>

struct ImageRecord {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t pitch = 0;
    std::uint8_t* pixels = nullptr;  // only while the record is being loaded
    std::uint8_t bitsPerPixel = 0;
    std::uint32_t rMask = 0, gMask = 0, bMask = 0, aMask = 0;
    SDL_Surface* surface = nullptr;  // owned
    std::int32_t hasAlpha = 0;
};

class ImageList {
  public:
    ImageList() = default;
    ~ImageList();
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;

    std::int32_t count = 0;
    ImageRecord** records = nullptr;  // `count` records in pack order
};

class PackReader {
  public:
    static constexpr int kRead = 1;
    explicit PackReader(int mode) : mode(mode) {}
    const int mode;
};

// The one pack reader, in read mode, kept for the whole run.
PackReader& packReader();

constexpr std::size_t kSplashPackCapacity = 200000;
constexpr std::size_t kMainPackCapacity = 2000000;
extern const char* const kSplashPackName;  // "\data\0"
extern const char* const kMainPackName;    // "//data//1"

// The data file name + ".pak": the file readPack reads.
std::string packPath(const char* name);

// Reads the data file name + ".pak" into `list`. On a missing file, a gzip error, content beyond
// `capacity` or a damaged entry it returns false and puts a sentence naming the file and the problem
// in `error`; `list` then holds what it held before. Does nothing (and succeeds) unless the reader is
// in read mode.
bool readPack(const PackReader& reader, ImageList& list, const char* name, std::size_t capacity,
              std::string* error);

// readPack's work on a pack file given by its full path.
bool readPackFile(const PackReader& reader, ImageList& list, const std::string& path, std::size_t capacity,
                  std::string* error);

// Decodes a decompressed pack of `size` bytes held in `buffer` into `list` (its old images freed);
// converts every image to the display format. False with `error` when the content is damaged; `list`
// is then as it was.
bool parsePack(ImageList& list, const std::uint8_t* buffer, std::size_t size, std::string* error);

// Frees every record of `list` with its surface; the list is empty afterwards.
void freeImages(ImageList& list);
