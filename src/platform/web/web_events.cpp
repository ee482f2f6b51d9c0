// The browser build's clock, sleep, events and held keys. The page queues what the player does; a
// wait for an event sleeps until the page has one, so a waiting menu costs the processor nothing.
// Sleeping hands the browser its thread back (the build is made with ASYNCIFY), so the game's own
// loops and waits stay as they are on the desktop.
#include <emscripten.h>

#include "platform/platform_detail.h"
#include "platform/web/page_bridge.h"

namespace platform {
namespace {

constexpr int kTextSize = 32;  // a key's code or text, with its NUL

// clang-format off
EM_JS(int, pageTakeEvent, (int* fields, char* code, char* key, int textSize), {
    var e = Module.web.takeEvent();
    if (!e) return 0;
    HEAP32.set([e.type, e.a, e.b, e.c], fields >> 2);
    stringToUTF8(e.code, code, textSize);
    stringToUTF8(e.key, key, textSize);
    return 1;
});
EM_ASYNC_JS(void, pageNextEvent, (), {
    await Module.web.nextEvent();
});
EM_JS(void, pageTellPlay, (int state), {
    Module.web.inPlay(state);
});
// clang-format on

struct Input {
    Uint8 keys[SDLK_LAST] = {};
    int lastX = 0, lastY = 0;
    int toldPlay = -1;
};
Input input;

// What the page shows depends on the level: its touch buttons while one is played, how to play on
// while one is paused. A level waits for an event only in a pause; otherwise it polls.
enum PlayState { kNoLevel = 0, kPlaying = 1, kPaused = 2 };

void tellPlay(bool waiting = false) {
    const int state = !detail::inPlay() ? kNoLevel : waiting ? kPaused : kPlaying;
    if (state == input.toldPlay) return;
    input.toldPlay = state;
    pageTellPlay(state);
}

bool take(SDL_Event* event) {
    int fields[4];
    char code[kTextSize], key[kTextSize];
    while (pageTakeEvent(fields, code, key, kTextSize)) {
        web::PageEvent e;
        e.type = fields[0];
        e.a = fields[1];
        e.b = fields[2];
        e.c = fields[3];
        e.code = code;
        e.key = key;
        const SDL_Event taken = web::sdlEventOf(e, &input.lastX, &input.lastY);
        if (taken.type == SDL_NOEVENT) continue;
        if (taken.type == SDL_KEYDOWN || taken.type == SDL_KEYUP) {
            input.keys[taken.key.keysym.sym] = taken.type == SDL_KEYDOWN ? 1 : 0;
        }
        *event = taken;
        return true;
    }
    return false;
}

}  // namespace

namespace detail {

std::uint32_t rawTicks() {
    static const double start = emscripten_get_now();
    return static_cast<std::uint32_t>(emscripten_get_now() - start);
}

void rawDelay(std::uint32_t ms) {
    tellPlay();
    emscripten_sleep(ms);
}

int rawPollEvent(SDL_Event* event) {
    tellPlay();
    return take(event) ? 1 : 0;
}

int rawWaitEvent(SDL_Event* event) {
    tellPlay(true);
    while (!take(event)) pageNextEvent();
    return 1;
}

const Uint8* rawKeyState() {
    return input.keys;
}

}  // namespace detail
}  // namespace platform
