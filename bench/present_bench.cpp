// Presenting one frame: the game's 240 x 320 x 16 surface scaled 2x, 3x and 4x into the window
// surface (32 bits, as on a 24-bit X server), beside a bare memcpy of as many bytes as the window's
// picture holds.
//   build/bench/present_bench
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/script/script.h"

namespace {

constexpr int kWidth = 240, kHeight = 320, kGameBytesPerPixel = 2, kWindowBytesPerPixel = 4;

// The window at `scale` on the headless platform (SDL's dummy driver), with a picture in the game's surface.
SDL_Surface* openScaled(int scale) {
    SDL_Quit();
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    platform::script::reset();
    if (SDL_Init(SDL_INIT_VIDEO) < 0) return nullptr;
    platform::chooseWindow(scale, false);
    std::string error;
    SDL_Surface* screen = platform::openScreen(kWidth, kHeight, 16, "KORVEX", &error);
    if (!screen || SDL_GetVideoSurface()->format->BytesPerPixel != kWindowBytesPerPixel) return nullptr;
    auto* pixels = static_cast<Uint16*>(screen->pixels);
    for (int k = 0; k < kWidth * kHeight; ++k) pixels[k] = static_cast<Uint16>(k * 2654435761u >> 16);
    return screen;
}

void presentScaled(benchmark::State& state) {
    const int scale = static_cast<int>(state.range(0));
    SDL_Surface* screen = openScaled(scale);
    if (!screen) {
        state.SkipWithError("no video mode");
        return;
    }
    auto* pixels = static_cast<Uint16*>(screen->pixels);
    const int stride = screen->pitch / kGameBytesPerPixel;
    for (auto _ : state) {
        // A frame where every 16 x 16 tile changed: all of it is scaled and sent.
        for (int y = 0; y < kHeight; y += 16) {
            for (int x = 0; x < kWidth; x += 16) pixels[y * stride + x] ^= 0x0821;
        }
        platform::presentScreen(screen);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kWidth * kHeight * scale * scale * kWindowBytesPerPixel);
}

void bareCopy(benchmark::State& state) {
    const int scale = static_cast<int>(state.range(0));
    const std::size_t bytes =
        static_cast<std::size_t>(kWidth * scale) * kHeight * scale * kWindowBytesPerPixel;
    std::vector<char> from(bytes, 1), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}

}  // namespace

BENCHMARK(presentScaled)->Arg(2)->Arg(3)->Arg(4);
BENCHMARK(bareCopy)->Arg(2)->Arg(3)->Arg(4);
BENCHMARK_MAIN();
