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
#include "platform/recorder.h"
#include "resources/images.h"
#include "shell/replay_run.h"
#include "shell/shell.h"
#include "ui/font.h"

namespace {

const std::string kDataDir = KORVEX_DATA_DIR;
constexpr int kFramesPerLevel = 200;  // the level starts again before the formation comes down

SDL_Surface* solid(int w, int h, Uint8 r, Uint8 g, Uint8 b) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 16, 0xF800, 0x07E0, 0x001F, 0);
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, r, g, b));
    return s;
}

// A font in the game's format: a marker before and after every glyph from "!" to "~".
SDL_Surface* standInFont() {
    constexpr int kGlyphs = '~' - '!' + 1, kWidth = 6, kHeight = 10;
    SDL_Surface* s = solid(1 + kGlyphs * (kWidth + 1), kHeight, 8, 8, 8);
    for (int k = 0; k <= kGlyphs; ++k) {
        SDL_Rect marker = {static_cast<Sint16>(k * (kWidth + 1)), 0, 1, 1};
        SDL_FillRect(s, &marker, SDL_MapRGB(s->format, 248, 0, 248));
    }
    return s;
}

// Images of the real sizes when the generated pack is not there.
void standInImages() {
    images[kGameBackground] = solid(240, 320, 0, 0, 40);
    images[kPlayer1] = solid(80, 24, 0, 200, 0);
    images[kWeapon1] = solid(3, 8, 248, 248, 0);
    images[kWeapon2] = solid(3, 6, 248, 128, 0);
    for (int k = 0; k < 3; ++k) images[kEnemy11 + k] = solid(92, 18, 200, 40 * k, 0);
    images[kGiftLauncher1] = solid(48, 14, 120, 120, 248);
    images[kGifts] = solid(60, 12, 40, 248, 40);
    images[kBrick] = solid(16, 8, 160, 80, 0);
    for (int k = 0; k < 5; ++k) images[kStarFront1 + k] = solid(2, 2, 248, 248, 248);
    images[kExplosion] = solid(115, 18, 248, 160, 0);
    images[kExplosionPlayer] = solid(100, 24, 248, 0, 0);
    images[kStart] = solid(100, 40, 0, 248, 248);
    images[kFont] = standInFont();
    images[kFontWhite] = standInFont();
    for (int slot : {kExplosion, kEnemy11, kEnemy21, kEnemy31, kPlayer1, kStart, kGiftLauncher1}) {
        SDL_SetColorKey(images[slot], SDL_SRCCOLORKEY, 0);
    }
    SDL_SetColorKey(images[kFont], SDL_SRCCOLORKEY, readPixel(images[kFont], 1, 0));
    SDL_SetColorKey(images[kFontWhite], SDL_SRCCOLORKEY, readPixel(images[kFontWhite], 0, 5));
}

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
    std::string error;
    if (!loadImages(&error)) {
        std::fprintf(stderr, "Stand-in images (%s)\n", error.c_str());
        standInImages();
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
            platform::recordGames(folder, worldProbe());
            platform::beginGame();
            platform::beginPlay();
            state.ResumeTiming();
        }
        frameWithEvent(++frame);
    }
    platform::replay::stopRecording();
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
            platform::recordGames("/nonexistent/", worldProbe());
            platform::beginGame();
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
