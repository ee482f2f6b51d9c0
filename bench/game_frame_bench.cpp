// One game step (advanceFrame with its drawFrame) on a full formation, against a bare loop that
// draws the same background, stars, enemies, player and status text with no game logic; and the
// step with the level loop's event read, without and with the recorder writing it down.
//   build/bench/game_frame_bench                      side by side, Google Benchmark
//   build/bench/game_frame_bench --frames=N [--bare|--polled|--recorded]  exactly N frames, for
//   instruction counts (the recorder's share: the last two, collecting '*frameWithEvent*'):
//   valgrind --tool=callgrind --toggle-collect='advanceFrame()' build/bench/game_frame_bench --frames=1000
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "game/game_frame.h"
#include "persist/settings.h"
#include "platform/platform.h"
#include "replay/recorder.h"
#include "replay/replay_run.h"
#include "resources/images.h"
#include "shell/shell.h"
#include "ui/font.h"

namespace {

const std::string kDataDir = KORVEX_DATA_DIR;
constexpr int kFramesPerLevel = 200;  // the level starts again before the formation comes down

void startLevel() {
    setupLevel(0);
    showLevelBanner = false;
    player.lives = 1000;  // bombs still hit, but the game never ends
}

void setUp() {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    SDL_Init(SDL_INIT_VIDEO);
    screen = SDL_SetVideoMode(kScreenWidth, kScreenHeight, 16, SDL_SWSURFACE);
    programDir = kDataDir.substr(0, kDataDir.rfind('/') + 1);
    dataDir = kDataDir + "/";  // the portable layout: packs in the data folder beside the program
    std::string error;
    if (!loadImages(&error)) {
        std::fprintf(stderr, "game_frame_bench: %s\n", error.c_str());
        std::exit(1);
    }
    selectFont(kFont);
    settings.soundOn = 0;
    settings.difficulty = 2;
    startLevel();
}

// One game step as the level loop makes it, without the pause.
void gameStep(int frame) {
    if (frame % kFramesPerLevel == 0 || gameOver || levelCleared) {
        gameOver = levelCleared = false;
        startLevel();
    }
    advanceFrame();
}

// The same pictures drawn from the same records, with none of the rules.
void drawBareFrame() {
    blitImage(images[kGameBackground], 0, 0);
    for (const Star& s : stars) blitImage(s.images[s.imageIndex], s.x, s.y);
    blitImagePart(images[kPlayer1], player.x, player.y, kPlayerWidth, kPlayerHeight, 0, 0);
    for (const Enemy& e : enemies) {
        if (e.alive) blitImagePart(e.kindImages[e.hitsLeft], e.x, e.y, kEnemyWidth, kEnemyHeight, 0, 0);
    }
    selectFont(kFontWhite);
    drawText("1", 224, 294, kFontWhite);
    drawText("0", 5, 304, kFontWhite);
    drawText("3", 224, 304, kFontWhite);
    selectFont(kFont);
    updateScreen();
}

void gameFrame(benchmark::State& state) {
    int frame = 0;
    for (auto _ : state) gameStep(++frame);
}

// The level loop's own reading of the event and the step, without and with the recorder writing
// them down (recording starts afresh now and then, as a new game would, outside the timing).
constexpr int kFramesPerRecording = 20000;

__attribute__((noinline)) void frameWithEvent(int frame) {
    SDL_Event event;
    platform::pollEvent(&event);
    gameStep(frame);
}

void polledFrame(benchmark::State& state) {
    int frame = 0;
    for (auto _ : state) frameWithEvent(++frame);
}

void recordedFrame(benchmark::State& state) {
    const std::string folder = "/nonexistent/";  // the recording is never kept
    int frame = 0;
    for (auto _ : state) {
        if (frame % kFramesPerRecording == 0) {
            state.PauseTiming();
            replay::recordGames(folder, replay::worldProbe());
            replay::beginGame();
            platform::beginPlay();
            state.ResumeTiming();
        }
        frameWithEvent(++frame);
    }
    replay::stopRecording();
}

void bareFrame(benchmark::State& state) {
    startLevel();
    for (auto _ : state) drawBareFrame();
}

}  // namespace

BENCHMARK(bareFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(gameFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(polledFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(recordedFrame)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    setUp();
    if (argc > 1 && std::strncmp(argv[1], "--frames=", 9) == 0) {
        const int frames = std::atoi(argv[1] + 9);
        const std::string kind = argc > 2 ? argv[2] + 2 : "game";
        if (kind == "recorded") {
            replay::recordGames("/nonexistent/", replay::worldProbe());
            replay::beginGame();
            platform::beginPlay();
        }
        for (int i = 1; i <= frames; ++i) {
            if (kind == "bare") {
                drawBareFrame();
            } else if (kind == "game") {
                gameStep(i);
            } else {
                frameWithEvent(i);
            }
        }
        std::printf("%d %s frames\n", frames, kind.c_str());
    } else {
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
    }
    SDL_Quit();
    return 0;
}
