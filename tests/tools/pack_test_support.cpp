// Helpers of the tool tests.
#include "pack_test_support.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "pak/pak_files.h"

namespace tooltest {

std::string scratchFolder() {
    static std::atomic<int> counter{0};
    const auto folder = std::filesystem::temp_directory_path() /
                        ("korvex-tools-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder.string();
}

std::string dataFile(const std::string& name) {
    return std::string(KORVEX_DATA_DIR) + "/" + name;
}

Pack readPack(const std::string& path, std::string* error) {
    Pack pack;
    error->clear();
    if (paktool::readPackFile(path, &pack.content, error)) {
        pack::decode(pack.content.data(), pack.content.size(), &pack.images, error);
    }
    return pack;
}

std::uint16_t raw565(const pack::RawImage& image, int x, int y) {
    const std::uint8_t* p = image.pixels + y * image.pitch + x * 2;
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

Rgb pixel565(const pack::RawImage& image, int x, int y) {
    const std::uint16_t v = raw565(image, x, y);
    return Rgb{v >> 11, (v >> 5) & 63, v & 31};
}

std::uint16_t to565(int r, int g, int b) {
    return static_cast<std::uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
}

void writeTestBmp(const std::string& path, int w, int h, std::uint32_t (*colourAt)(int x, int y)) {
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
    ASSERT_NE(surface, nullptr);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::uint32_t c = colourAt(x, y);
            Uint8* p = static_cast<Uint8*>(surface->pixels) + y * surface->pitch + x * 3;
            const Uint32 value = SDL_MapRGB(surface->format, (c >> 16) & 255, (c >> 8) & 255, c & 255);
            p[0] = value & 255;
            p[1] = (value >> 8) & 255;
            p[2] = (value >> 16) & 255;
        }
    }
    ASSERT_EQ(SDL_SaveBMP(surface, path.c_str()), 0);
    SDL_FreeSurface(surface);
}

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
}

}  // namespace tooltest
