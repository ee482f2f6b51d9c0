// Loading the main pack (decompression, parsing, conversion of all 39 images) against the bare
// gzread of the same file, side by side. Run: build/bench/pack_load_bench
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "resources/pack_reader.h"
#include "shell/shell.h"

namespace {

const std::string kDataDir = KORVEX_DATA_DIR;

void bareGzread(benchmark::State& state) {
    std::vector<unsigned char> buffer(kMainPackCapacity);
    const std::string path = kDataDir + "/1.pak";
    for (auto _ : state) {
        gzFile file = gzopen(path.c_str(), "r");
        const int got = gzread(file, buffer.data(), static_cast<unsigned>(buffer.size()));
        gzclose(file);
        benchmark::DoNotOptimize(got);
    }
}

void loadMainPack(benchmark::State& state) {
    for (auto _ : state) {
        ImageList list;
        std::string error;
        if (!readPack(packReader(), list, kMainPackName, kMainPackCapacity, &error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        benchmark::DoNotOptimize(list.count);
    }
}

}  // namespace

BENCHMARK(bareGzread)->Unit(benchmark::kMicrosecond);
BENCHMARK(loadMainPack)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    SDL_Init(SDL_INIT_VIDEO);
    screen = SDL_SetVideoMode(240, 320, 16, SDL_SWSURFACE);
    programDir = kDataDir.substr(0, kDataDir.rfind('/') + 1);
    dataDir = kDataDir + "/";  // the portable layout: packs in the data folder beside the program
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    SDL_Quit();
    return 0;
}
