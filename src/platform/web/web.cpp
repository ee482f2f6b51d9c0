// The browser build of the device services. SDL runs on its dummy driver and draws nowhere; the page
// (res/web/page.js and input.js, reached as Module.web) shows the picture in its canvas, plays the
// sounds through Web Audio and holds the lock that keeps a second tab out. Files (files.cpp) lie on
// emscripten's in-memory file system, laid out as an installed game: the data read-only below
// /korvex/share/, the player's files below /save/, which the page keeps in IndexedDB; a save returns
// once IndexedDB has it, so a tab closed right after keeps it.
#include <emscripten.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

#include "platform/platform_detail.h"
#include "platform/web/page_bridge.h"

namespace platform {
namespace {

constexpr const char* kProgramPath = "/korvex/bin/korvex";
constexpr char kStore[] = "/save";  // the page keeps what lies below in IndexedDB (files.cpp)
constexpr int kSoundRate = 22050;

// clang-format off
// POSTs `size` bytes at `body` to `url` and waits: the status, and the answer's bytes in a block of
// the game's heap at *answer (*answerSize long; the caller frees it); 0 when no answer came.
EM_ASYNC_JS(int, pagePost, (const char* url, const char* body, int size, char** answer, int* answerSize), {
    const sent = HEAPU8.slice(body, body + size);  // copied now: the heap may grow while this waits
    try {
        const reply = await fetch(UTF8ToString(url), { method: 'POST', credentials: 'same-origin', body: sent,
                                                       headers: { 'Content-Type': 'application/octet-stream' } });
        const bytes = new Uint8Array(await reply.arrayBuffer());
        const at = _malloc(bytes.length + 1);
        HEAPU8.set(bytes, at);
        HEAPU32[answer >> 2] = at;
        HEAP32[answerSize >> 2] = bytes.length;
        return reply.status;
    } catch (error) {
        return 0;
    }
});
EM_ASYNC_JS(int, pageLock, (const char* name), {
    return (await Module.web.lock(UTF8ToString(name))) ? 1 : 0;
});
EM_JS(int, pageShowsPictures, (), {
    return Module.web.showsPictures() ? 1 : 0;
});
EM_JS(void, pageDraw, (const std::uint8_t* rgba, int width, int height, int x, int y, int w, int h), {
    Module.web.draw(HEAPU8.subarray(rgba, rgba + width * height * 4), width, height, x, y, w, h);
});
EM_JS(int, pageLoadSound, (const std::int16_t* samples, int count, int rate), {
    return Module.web.loadSound(HEAP16.subarray(samples >> 1, (samples >> 1) + count), rate);
});
EM_JS(void, pagePlaySound, (int id), {
    Module.web.playSound(id);
});
EM_JS(void, pageNote, (const char* text), {
    Module.web.noted(UTF8ToString(text));
});
// clang-format on

// SDL offers its dummy video driver only when asked for it by name; here it is the only one there is.
[[maybe_unused]] const int kDummyVideo = setenv("SDL_VIDEODRIVER", "dummy", 0);

// The picture as the canvas takes it; kept for the whole run.
std::vector<std::uint8_t> canvasPixels;

}  // namespace

std::uint64_t availablePhysicalMemory() {
    return UINT64_MAX;  // a page cannot tell; the memory grows as the game needs it
}

bool acquireSingleInstance(const char* name, const std::string&) {
    return pageLock(name) != 0;  // the browser's own lock: no folder another user could take first
}

bool startVideo() {
    return SDL_Init(SDL_INIT_VIDEO) == 0;  // the dummy driver: nothing to wait for
}

std::string programPath() {
    return kProgramPath;
}

std::vector<std::string> arguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);  // the page passes them in UTF-8
}

void reportText(const std::string& text, bool error) {
    std::fputs(text.c_str(), error ? stderr : stdout);  // the page reads both
}

std::string userDataFolder() {
    return std::string(kStore) + "/";
}

// Through the browser's fetch, which holds the browser's own rules (the site's policy allows its own
// origin only). The page itself sends games from its own script; this is the game's way to the same.
HttpAnswer postBytes(const std::string& url, const std::string& body) {
    HttpAnswer answer;
    char* bytes = nullptr;
    int size = 0;
    answer.status = pagePost(url.c_str(), body.data(), static_cast<int>(body.size()), &bytes, &size);
    if (bytes) answer.body.assign(bytes, static_cast<std::size_t>(size));
    std::free(bytes);
    if (answer.status == 0) answer.error = "the browser reached no server";
    return answer;
}

void captureButtons() {}
void releaseButtons() {}
void openGamepad() {}  // the page reads the browser's gamepads itself

void playSoundAsync(const std::string& path) {
    // Decoded once a path; -1 marks a sound that cannot be played, so it is not read again.
    static std::map<std::string, int> loaded;
    auto known = loaded.find(path);
    if (known == loaded.end()) {
        SDL_AudioSpec mono{};
        mono.freq = kSoundRate;
        mono.format = AUDIO_S16SYS;
        mono.channels = 1;
        const std::string samples = detail::loadWavAs(path, mono);
        const int id = samples.empty() ? -1
                                       : pageLoadSound(reinterpret_cast<const std::int16_t*>(samples.data()),
                                                       static_cast<int>(samples.size() / 2), kSoundRate);
        known = loaded.emplace(path, id).first;
    }
    if (known->second >= 0) pagePlaySound(known->second);
}

namespace detail {

void rawUpdateRects(SDL_Surface* video, int count, SDL_Rect* rects) {
    static const bool shows = pageShowsPictures() != 0;  // not while verifying a recording
    if (!shows || !video || video->format->BytesPerPixel != 2) return;
    canvasPixels.resize(static_cast<std::size_t>(video->w) * video->h * 4);
    for (int k = 0; k < count; ++k) {
        const int x0 = std::max<int>(rects[k].x, 0), y0 = std::max<int>(rects[k].y, 0);
        const int x1 = std::min(rects[k].x + rects[k].w, video->w),
                  y1 = std::min(rects[k].y + rects[k].h, video->h);
        if (x1 <= x0 || y1 <= y0) continue;
        const SDL_Rect r = {static_cast<Sint16>(x0), static_cast<Sint16>(y0), static_cast<Uint16>(x1 - x0),
                            static_cast<Uint16>(y1 - y0)};
        web::rgb565ToRgba(video, r, canvasPixels.data(), video->w);
        pageDraw(canvasPixels.data(), video->w, video->h, x0, y0, r.w, r.h);
    }
}

void rawDesktopSize(int* width, int* height, int* bitsPerPixel) {
    // The page scales the canvas itself, so the game's surface stays at scale 1.
    *width = *height = *bitsPerPixel = 0;
}

// A message the game showed stays in the page's status line, where a screen reader reads it too.
void noteMessage(WindowHandle, const char* text, const char*, MessageStyle, MessageAnswer) {
    pageNote(text);
}

}  // namespace detail
}  // namespace platform
