// Decoding the generated packs once for all tests.
#include "generated_data.h"

#include <gtest/gtest.h>

namespace tooltest {
namespace {

Pack loadOrFail(const std::string& name) {
    std::string error;
    Pack pack = readPack(dataFile(name), &error);
    if (!error.empty()) ADD_FAILURE() << "cannot read the generated " << name << ": " << error;
    return pack;
}

}  // namespace

const Pack& mainPack() {
    static const Pack pack = loadOrFail("1.pak");
    return pack;
}

const Pack& splashPack() {
    static const Pack pack = loadOrFail("0.pak");
    return pack;
}

const pack::RawImage& slotImage(int slot) {
    static const pack::RawImage none{};
    const Pack& pack = mainPack();
    return slot < static_cast<int>(pack.images.size()) ? pack.images[slot] : none;
}

std::set<std::uint16_t> coloursIn(const pack::RawImage& image, const Rect& rect) {
    std::set<std::uint16_t> colours;
    for (int y = std::max(0, rect.top); y < std::min(image.height, rect.bottom); ++y)
        for (int x = std::max(0, rect.left); x < std::min(image.width, rect.right); ++x)
            colours.insert(raw565(image, x, y));
    return colours;
}

int luma(const pack::RawImage& image, int x, int y) {
    const Rgb c = pixel565(image, x, y);
    return (c.r * 8 * 299 + c.g * 4 * 587 + c.b * 8 * 114) / 1000;
}

}  // namespace tooltest
