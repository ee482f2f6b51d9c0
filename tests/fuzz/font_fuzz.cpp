// Reading a font's marker row from any picture: the edge table stays in order and in the picture,
// and every glyph it gives draws from inside the picture.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "fuzz_support.h"
#include "ui/glyph_edges.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    fuzz::openScreen();
    // Header: width (2 bytes, 1 to 1100), height (1 to 16), depth; the pixels repeat the rest.
    const int width = 1 + (data[0] | data[1] << 8) % 1100;
    const int height = 1 + data[2] % 16;
    static const int kDepths[] = {8, 16, 24, 32};
    const int depth = kDepths[data[3] % 4];
    data += 4;
    size -= 4;
    SDL_Surface* font = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, depth, 0, 0, 0, 0);
    fuzz::require(font != nullptr, "SDL_CreateRGBSurface");
    auto* pixels = static_cast<std::uint8_t*>(font->pixels);
    const std::size_t bytes = static_cast<std::size_t>(font->pitch) * height;
    for (std::size_t i = 0; i < bytes && size > 0; ++i) pixels[i] = data[i % size];

    std::int32_t edges[kMaxGlyphEdges];
    const int count = buildGlyphEdges(font, edges);
    fuzz::require(count >= 1 && count <= kMaxGlyphEdges && edges[0] == 0, "the first marker is not column 0");
    for (int i = 1; i < count; ++i) {
        fuzz::require(edges[i] > edges[i - 1] && edges[i] < width, "markers out of order or outside");
    }
    for (int c = 0; c < 256; ++c) {
        const int w = glyphWidth(edges, count, static_cast<unsigned char>(c));
        if (w < 0) continue;
        fuzz::require(c >= '!' && c < 128 && c != ' ', "a glyph for a character that has none");
        drawGlyph(font, height, edges, static_cast<unsigned char>(c), (c * 7) % 240, (c * 3) % 320);
    }
    SDL_FreeSurface(font);
    return 0;
}
