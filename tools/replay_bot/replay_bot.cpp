// Records the golden replays of tests/replays: scripted players (a bot that aims, fires, dodges and
// catches gifts) play whole games on the headless platform while the recorder writes them down.
// Run it again, deliberately and in a commit of its own, when a rule change is meant to change play:
//   build/tools/korvex-replay-bot tests/replays
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "game/game_frame.h"
#include "game/world_state.h"
#include "persist/settings.h"
#include "platform/platform_detail.h"
#include "platform/script/script.h"
#include "replay/recorder.h"
#include "replay/replay_run.h"
#include "resources/images.h"
#include "shell/game_flow.h"
#include "shell/shell.h"

namespace script = platform::script;

namespace {

// One recorded game: who plays it and how it must end.
struct Game {
    const char* name;
    int difficulty;
    // The bot stops firing and dodging after this many returns to the first formation and this many
    // levels cleared, so that the game ends.
    int wrapsBeforeGivingUp;
    int levelsBeforeGivingUp;
    int menuAtFrame;       // taps MENU here and resumes (0: never)
    int resumeDifficulty;  // the difficulty chosen in that menu
    int quitAtFrame;       // closes the window here (0: plays to game over)
};

const Game kGames[] = {
    {"easy-long-wrap", 0, 1, 26, 0, 0, 0},
    {"medium", 1, 0, 6, 0, 0, 0},
    {"hard", 2, 0, 4, 0, 0, 0},
    {"menu-resume-quit", 1, 0, 99, 900, 2, 2500},
    {"hard-careless", 2, 0, 0, 0, 0, 0},
};

// What the games reached, to be sure the set covers every rule the issue names.
struct Coverage {
    std::set<int> giftKinds;
    bool bricksStoppedBomb = false, chain = false, hurrySeen = false, wrap = false, lifeLost = false,
         gameOver = false;
};

Coverage coverage;

class Bot {
  public:
    explicit Bot(const Game& game) : game_(game) {}

    // Called after every frame's pause: looks at the field and queues at most one key event.
    void step() {
        ++frame_;
        observe();
        if (script::pendingEvents() > 0) return;
        const std::uint32_t now = script::now();
        if (game_.quitAtFrame && frame_ == game_.quitAtFrame) return script::quit(now);
        if (game_.menuAtFrame && frame_ == game_.menuAtFrame) return script::tap(110, 283, now);
        const int centre = player.x + kPlayerWidth / 2;
        const int aim = aimPoint();
        const int target = dodge(aim);
        const int want = target > centre + 1 ? 1 : target < centre - 1 ? -1 : 0;
        if (want == 1 && !held(SDLK_RIGHT)) return push(true, SDLK_RIGHT);
        if (want == -1 && held(SDLK_RIGHT)) return push(false, SDLK_RIGHT);
        if (want == -1 && !held(SDLK_LEFT)) return push(true, SDLK_LEFT);
        if (want == 0 && held(SDLK_RIGHT)) return push(false, SDLK_RIGHT);
        if (want == 0 && held(SDLK_LEFT)) return push(false, SDLK_LEFT);
        // Fire goes on while the last event is a key going down (the loop handles it again). A bot that
        // has given up lets go of fire too, so that the formation comes down.
        if (givingUp()) {
            if (held(SDLK_UP)) push(false, SDLK_UP);
        } else if (!lastWasDown_) {
            push(true, SDLK_UP);
        }
    }

    bool givingUp() const {
        return wraps_ >= game_.wrapsBeforeGivingUp && levelsCleared_ >= game_.levelsBeforeGivingUp;
    }

  private:
    // The device's own key state: asking the game's would be written into the recording.
    bool held(SDLKey key) const { return platform::detail::rawKeyState()[key] != 0; }
    void push(bool down, SDLKey key) {
        down ? script::keyDown(key, script::now()) : script::keyUp(key, script::now());
        lastWasDown_ = down;
    }

    void observe() {
        if (giftLauncher.effectActive) coverage.giftKinds.insert(giftLauncher.effectKind);
        if (giftLauncher.chainActive && enemiesLeft < lastEnemies_ - 1) coverage.chain = true;
        int present = 0;
        for (const Brick& b : bricks) present += b.present;
        if (present < lastBricks_ && levelCounter == lastLevel_) coverage.bricksStoppedBomb = true;
        if (hurry) coverage.hurrySeen = true;
        if (player.lives < lastLives_) coverage.lifeLost = true;
        if (levelCounter != lastLevel_) {
            ++levelsCleared_;
            if (levelCounter == 0 && lastLevel_ == kLevelCount - 1) {
                coverage.wrap = true;
                ++wraps_;
            }
        }
        lastBricks_ = present;
        lastEnemies_ = enemiesLeft;
        lastLives_ = player.lives;
        lastLevel_ = levelCounter;
    }

    // Where the shot should start to meet something: a falling gift to catch, the crossing carrier,
    // or the lowest enemy, its formation's sweep followed frame by frame.
    int aimPoint() const {
        const GiftLauncher& g = giftLauncher;
        if (g.falling) return g.x + 6;
        if (g.movingRight && g.x < 150) return g.x + 12 + (kPlayerTop - g.y) / 9;
        return enemyTarget();
    }

    // Steps aside from a bomb about to land on the ship (unless the bot has given up).
    int dodge(int target) const {
        if (givingUp()) return target;
        const int centre = player.x + kPlayerWidth / 2;
        for (const Enemy& e : enemies) {
            const Projectile& b = e.bomb;
            if (!b.active || b.y < 140 || b.y > 258) continue;
            const bool threatensNow = b.x > player.x - 6 && b.x < player.x + kPlayerWidth + 6;
            if (!threatensNow) continue;
            int away = b.x < centre ? b.x + 30 : b.x - 30;
            if (away < 12) away = b.x + 30;
            if (away > 228) away = b.x - 30;
            return away;
        }
        return target;
    }

    int enemyTarget() const {
        int lowestRow = -1, minColumn = kFormationColumns, maxColumn = -1;
        for (int i = 0; i < kEnemyCount; ++i) {
            if (!enemies[i].alive) continue;
            lowestRow = std::max(lowestRow, i / kFormationColumns);
            minColumn = std::min(minColumn, i % kFormationColumns);
            maxColumn = std::max(maxColumn, i % kFormationColumns);
        }
        const int centre = player.x + kPlayerWidth / 2;
        if (lowestRow < 0) return centre;
        const int step = (giftLauncher.freezeActive ? 0 : 2) + (hurry ? 1 : 0);
        const int flight =
            (kPlayerTop - 9 - (formationY + kEnemyHeight * lowestRow + kEnemyHeight - 1)) / 9 + 1;
        // The formation's left edge after `flight` frames, turning where the game turns it.
        int x = formationX;
        bool right = formationMovingRight;
        for (int t = 0; t < flight; ++t) {
            x += right ? step : -step;
            if (right && x + kEnemyWidth * (maxColumn + 1) > 233)
                right = false;
            else if (!right && x + kEnemyWidth * minColumn < 7)
                right = true;
        }
        int best = centre, bestDistance = 1 << 30;
        for (int c = minColumn; c <= maxColumn; ++c) {
            if (!enemies[lowestRow * kFormationColumns + c].alive) continue;
            const int ex = x + kEnemyWidth * c + kEnemyWidth / 2;
            if (std::abs(ex - centre) < bestDistance) {
                bestDistance = std::abs(ex - centre);
                best = ex;
            }
        }
        return best;
    }

    const Game& game_;
    int frame_ = 0;
    bool lastWasDown_ = false;
    int lastBricks_ = 0, lastEnemies_ = 0, lastLives_ = 3, lastLevel_ = 0;
    int levelsCleared_ = 0, wraps_ = 0;
};

bool setUp() {
    const std::string data = KORVEX_DATA_DIR;
    programDir = data.substr(0, data.rfind('/') + 1);
    dataDir = programDir + "data/";
    SDL_putenv(const_cast<char*>("SDL_VIDEODRIVER=dummy"));
    if (SDL_Init(SDL_INIT_VIDEO) < 0) return false;
    screen = SDL_SetVideoMode(kScreenWidth, kScreenHeight, 16, SDL_SWSURFACE);
    std::string error;
    if (!screen || !loadImages(&error)) {
        std::fprintf(stderr, "korvex-replay-bot: %s\n", error.c_str());
        return false;
    }
    setUpText();
    settings.soundOn = 0;
    return true;
}

// Plays one game as the game flow would, the menu visit reduced to its pause and difficulty choice.
void play(const Game& game) {
    Bot bot(game);
    script::setIdleHook([&] {
        if (script::lastDelay() == kFrameDelayMs) bot.step();
    });
    script::keyDown(SDLK_UP, script::now());
    settings.difficulty = static_cast<std::int16_t>(game.difficulty);
    startNewGame();
    for (;;) {
        const int result = runLevel();
        if (result == kLevelCleared) {
            setupLevel(nextLevel());
        } else if (result == kLevelMenu) {
            script::setIdleHook(nullptr);
            platform::delay(4000);  // in the menu
            settings.difficulty = static_cast<std::int16_t>(game.resumeDifficulty);
            script::setIdleHook([&] {
                if (script::lastDelay() == kFrameDelayMs) bot.step();
            });
        } else {
            if (result == kLevelLost) coverage.gameOver = true;
            break;
        }
    }
    replay::endGame();
    script::setIdleHook(nullptr);
    // Every key up again before the next game, as a player's hands leave the keys.
    for (SDLKey key : {SDLK_LEFT, SDLK_RIGHT, SDLK_UP}) script::keyUp(key, script::now());
    // Whatever is left is read and dropped; a game ended by closing the window leaves a quit, which
    // is forgotten: the next game is a new run.
    SDL_Event event;
    do {
        script::resetInput();
    } while (platform::pollEvent(&event));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: korvex-replay-bot FOLDER\nRecords the golden replays into FOLDER.\n");
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    script::reset();
    script::setTimeLimit(0xffffffffu);
    if (!setUp()) return 1;
    replay::recordGames(folder, replay::worldProbe());
    for (const Game& game : kGames) {
        play(game);
        const std::string path = folder + game.name + ".kvr";
        std::rename((folder + "last.kvr").c_str(), path.c_str());
        replay::Replay replay;
        std::string error;
        if (!replay::readReplayFile(path, &replay, &error)) {
            std::fprintf(stderr, "korvex-replay-bot: %s\n", error.c_str());
            return 1;
        }
        const std::string verdict =
            replay::replayVerdict(replay.end.score, replay.end.level, replay.end.lives,
                                  static_cast<std::uint32_t>(replay.frames.size()), true, 0, replay.cut);
        if (std::FILE* out = std::fopen((folder + game.name + ".expected").c_str(), "w")) {
            std::fprintf(out, "%s\n", verdict.c_str());
            std::fclose(out);
        }
        std::printf("%-18s difficulty %d  %s\n", game.name, game.difficulty, verdict.c_str());
    }
    std::printf("gift kinds caught:");
    for (int kind : coverage.giftKinds) std::printf(" %d", kind);
    std::printf("\nbricks stopped a bomb %d, chain %d, hurry %d, wrap %d, life lost %d, game over %d\n",
                coverage.bricksStoppedBomb, coverage.chain, coverage.hurrySeen, coverage.wrap,
                coverage.lifeLost, coverage.gameOver);
    SDL_Quit();
    return 0;
}
